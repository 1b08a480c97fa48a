#pragma once

#include <QString>

// File commands and loading: turns the results of the data-file operations into the states of
// the screen (the start page without a file; the tab rows and Setup introduction with one).
namespace shell {

void StartWithoutFile();
void StartWithFile(const QString& path);
void NewFile();
void OpenFile();
void SaveFileAs();
void LoadFromFile();
void CloseFile();
void CloseDatafileIfOpen();

} // namespace shell
