#include "project/loadsave.h"

// Placeholder until the project file lands.
namespace corvane {

Status TLoadSave::SaveProject(const QString&, const TData&)
{
    return {};
}

Status TLoadSave::LoadProject(const QString&, TData&)
{
    return {};
}

} // namespace corvane
