#pragma once

#include <string>

// The program's filter list "Name|pattern|Name|pattern..." and filter numbers as the
// common file dialogs take them. Plain text work, kept apart from the Windows calls.

namespace tessaly {

// Name and pattern each ended by a NUL, the whole list by a second one; UTF-8, widened
// for the dialog. Every pair keeps its place, so that the dialog's filter numbers are
// the program's.
std::string dialogFilter(const std::string& filters);

// The dialogs count the filters from 1, the program from 0. A dialog's 0 stands for a
// filter the user typed, which the program takes as its first.
int dialogFilterIndex(int programIndex);
int programFilterIndex(int dialogIndex);

} // namespace tessaly
