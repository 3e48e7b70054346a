#pragma once
// The command line of veilleur-journal: export, suivre, verifier, tendance.
// Exit status: 0 done, 1 damage found (verifier), 2 usage or file error.

namespace CommandesJournal {

constexpr int SortieSucces = 0;
constexpr int SortieDommages = 1;
constexpr int SortieErreur = 2;

int Executer(int argc, char* argv[]);

} // namespace CommandesJournal
