#pragma once

#include <QString>

// File commands and loading: turns the results of the data-file operations into the states of
// the screen (the start page without a file; the tab rows and Setup introduction with one).
namespace shell {

void StartWithoutFile();
void StartWithFile(const QString& path);
// Starts the check of every page that opening the file at start-up left for later; once it is
// done, a damaged file is refused with a message and the start page comes up.
void CheckOpenedFile();
void NewFile();
void OpenFile();
// unsavedEdits: the worksheet on screen holds edits its file could not store; they go into the copy.
void SaveFileAs(bool unsavedEdits = false);
void LoadFromFile();
void CloseFile();
void CloseDatafileIfOpen();

} // namespace shell
