// tessellon-cli report: runs one report of TESSELON.URP over a collection, through the same
// renderer as the Reports window, into a text file or a PDF file.
//
//   report FILE.DBF NUMBER (--text OUT.TXT | --pdf OUT.PDF) [--urp PATH] [CRITERION...]
//
// NUMBER counts the reports from 1 in file order; --urp names another definition file than the
// program directory's TESSELON.URP (written with the six default reports when missing). The records
// are the collection's, in its sort order (the levels of its settings file; the sort tag is built
// when the file lacks it) and, with criteria (as for search), only those the criteria accept. Needs
// a QGuiApplication (fonts and PDF painting). Returns 0 on success, 2 on usage errors and failures
// (message on `err`).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

int runReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// tessellon-cli album: album pages (reports/album_pages.h) of the collection's stamps that have
// pictures, in its sort order and through search criteria as for report, into a PDF file.
//
//   album FILE.DBF --pdf OUT.PDF [--per-row N] [--landscape] [CRITERION...]
//
// N pictures to a row (1-8, 3 when not given). Returns 0 on success, 2 on usage errors,
// failures and when no chosen stamp has a picture (message on `err`).
int runAlbum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
