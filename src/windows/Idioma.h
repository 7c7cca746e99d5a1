#pragma once
// The game speaks Portuguese whatever the system's language: Qt's own windows (file and
// colour dialogs, the standard buttons of message boxes) take Qt's Brazilian Portuguese
// translation, completed here with the few words it lacks (the file list's "Folder"), and
// every number, date and file type that Qt writes by the default locale comes out as in
// Brazil ("06/12/2026 04:31", "25,27 KiB", "Imagem JPEG"). main() calls FalarPortugues
// once, after the application object exists; so do the screenshot tool and the window
// tests.

namespace zelpo {

void FalarPortugues();

} // namespace zelpo
