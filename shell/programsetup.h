#pragma once

namespace ui {
class QtPrompter;
}

namespace shell {

// What the program sets up between its application object and its main window: its name, the
// prompter every message goes through, the busy cursor, the data file upgrade, the worksheet
// forms and the preview's unloading; and it starts reading the system's fonts.
void SetUpProgram(ui::QtPrompter& prompter);

// Called before the application object is made: gets the thread that reads the fonts going, so
// that SetUpProgram only has to wake it.
void PrepareFontReading();

} // namespace shell
