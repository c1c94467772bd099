// The module's string table as its resource script holds it, so that the places the core
// gives texts can be checked against the texts the module shows.
#pragma once

#include <string>

// The text of string `id`, with doubled quotes read as one; empty when there is none.
std::string StringTableText(int id);
