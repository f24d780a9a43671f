// The precompiled headers are built with this file's target; the code itself
// reuses them. It has nothing of its own to compile.
