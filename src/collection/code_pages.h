// The code pages a collection's text can be kept in, as the user sees and names them.
//
// New collections offer six Windows code pages, Western European (Windows-1252) first and the
// default; an existing table keeps whatever its language driver byte names (the engine reads
// it), and every other part of the program follows the table's code page. Names are given as
// "Central European (Windows-1250)"; the command line names a code page by its number.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "engine/codepage.h"

namespace collection {

// The code pages New Database offers, in menu order (the default first).
const std::vector<engine::CodePage>& offeredCodePages();

// "Western European (Windows-1252)", "Cyrillic (Windows-1251)", "Cyrillic (DOS 866)"...
QString codePageName(engine::CodePage cp);

// The Windows or DOS number of the code page (1252, 437...).
int codePageNumber(engine::CodePage cp);

// The offered code page with that number ("1250", "cp1250", "windows-1250" also do).
std::optional<engine::CodePage> offeredCodePage(const QString& number);

}  // namespace collection
