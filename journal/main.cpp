// veilleur-journal: reads the station's "Log.dat" for audits and other systems.
#include "journal/CommandesJournal.h"

int main(int argc, char* argv[])
{
    return CommandesJournal::Executer(argc, argv);
}
