#include "script/generator.h"

// Placeholder until the generator lands.
namespace corvane::script {

QString BuildPreamble(std::int32_t)
{
    return {};
}

Result<QString> BuildBlock(const TColumnRec&)
{
    return QString();
}

Generation GenerateScript(const TData&, std::int32_t)
{
    return {};
}

} // namespace corvane::script
