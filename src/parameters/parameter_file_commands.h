#pragma once
// The menu commands on parameter files: save the set on the screen as ".par", ".csv" or ".txt"
// (the dialog's chosen type decides), and open a ".par" file to put its set on the screen.

#include <QString>

void saveparameterstofile_Click();
void get_parameters_file();
// Reads `path` and shows its set; `refresh_flag` goes to the changed list. False (and a message)
// when the file could not be read; the set on the screen stays as it was.
bool openparamfile(const QString& path, bool refresh_flag);
