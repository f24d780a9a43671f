#include "project/wordlist.h"

// Placeholder until the word-list files land.
namespace corvane {

QString VirtualDataFolder()
{
    return {};
}

} // namespace corvane
