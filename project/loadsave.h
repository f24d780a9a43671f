#pragma once

#include "catalogue/consttypes.h"
#include "catalogue/result.h"

#include <QString>

namespace corvane {

// Writes and reads project files: the method choices of every slot.
class TLoadSave
{
public:
    // Writes the whole file or nothing.
    Status SaveProject(const QString& fileName, const TData& catalogue);
    // Loads method, param1 and param2 slot by slot. A file that does not fit the
    // catalogue ends with the notice "Incompatible file for this database !.";
    // I/O and conversion failures end it with an error.
    Status LoadProject(const QString& fileName, TData& catalogue);
};

} // namespace corvane
