#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QString>

#include <array>

namespace corvane {

// The fields of one project file line. Fields that a line does not reach keep
// what an earlier line left in them.
using TFields = std::array<QString, 10>;

// Splits `line` at every `separator` into `fields`, starting at field 0.
// Returns false when the line holds more fields than the array; the fields
// beyond the tenth are then dropped.
bool SplitFields(const QString& line, TFields& fields, QChar separator);

// Writes and reads project files: the method choices of every slot.
class TLoadSave
{
public:
    // Writes the whole file or nothing: a failed save keeps the earlier file.
    Status SaveProject(const QString& fileName, const TData& catalogue);
    // Loads method, param1 and param2 slot by slot. A file that does not fit the
    // catalogue ends with the notice "Incompatible file for this database !.";
    // I/O and conversion failures end it with an error. Slots before the one
    // that stopped the load keep their loaded values.
    Status LoadProject(const QString& fileName, TData& catalogue);
};

} // namespace corvane
