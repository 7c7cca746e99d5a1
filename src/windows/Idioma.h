#pragma once
// The game speaks Portuguese whatever the system's language. Qt's own windows (file and
// colour dialogs, the standard buttons of message boxes) take Qt's Brazilian Portuguese
// translation, completed here with the few words it lacks (the file list's "Folder"):
// main() calls FalarPortugues once, after the application object exists, and so do the
// screenshot tool and the window tests. The numbers, dates and file types that Qt writes
// by the default locale ("06/12/2026 04:31", "25,27 KiB", "Imagem JPEG") follow Brazil
// from the first file or colour dialog on (EscreverComoNoBrasil): a Brazilian default
// locale brings in ICU, almost 2 MiB that nothing before those dialogs needs.

namespace zelpo {

void FalarPortugues();
void EscreverComoNoBrasil();

} // namespace zelpo
