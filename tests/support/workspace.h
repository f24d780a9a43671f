#pragma once

#include "catalogue/workspace.h"

namespace corvane::test {

// Puts `catalogue` into `workspace` as if a login to `connectionString` had read it.
inline void load(Workspace& workspace, TData catalogue, const QString& connectionString)
{
    workspace.replace({std::move(catalogue), SchemaTree{}, connectionString});
}

} // namespace corvane::test
