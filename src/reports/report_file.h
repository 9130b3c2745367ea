// The report definition file TESSELON.URP: a sequence of 20,622-byte records, no header.
//
// Record k (from 0) is the k-th entry of the Reports window's list. Each operation opens the
// file, does its work and closes it again; no handle is kept. Every read checks that the whole
// record lies inside the file, so a short or damaged file yields "no record", never garbage.
//
// Failures: listing an unreadable file gives an empty list; `read` gives nothing; `replace`,
// `append` and `remove` answer false on an input/output error (replace beyond the end is one).
// Saving into a file that does not exist creates it first.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "reports/report_definition.h"

namespace reports {

inline constexpr char kReportFileName[] = "TESSELON.URP";
inline constexpr char kOldReportFileName[] = "STAMP.URP";
// Where an earlier report file that could not be read whole is put aside.
inline constexpr char kOldReportAsideName[] = "STAMP.URP.UNREADABLE";

class ReportFile {
  public:
    explicit ReportFile(QString path) : path_(std::move(path)) {}
    // TESSELON.URP in the program directory `folder`.
    static ReportFile inFolder(const QString& folder);

    const QString& path() const { return path_; }
    bool exists() const;

    // Names of every whole record, in file order.
    QStringList names() const;
    int count() const;
    // Record k (0-based), its margins brought within the room of Letter paper in its
    // orientation (clampMargins).
    std::optional<ReportDefinition> read(int k) const;
    bool replace(int k, const ReportDefinition& report) const;
    bool append(const ReportDefinition& report) const;
    // Moves records k+1.. one place down and truncates the file after the new last record.
    bool remove(int k) const;
    // Writes the six default reports, replacing the file's content.
    bool writeDefaults() const;

  private:
    QString path_;
};

// Start-up: writes the default set when `folder` holds no TESSELON.URP (nothing, silently, when
// it cannot be created), then converts an earlier STAMP.URP found there.
void ensureReportFile(const QString& folder);

// What the conversion of STAMP.URP did.
struct ConversionResult {
    bool found = false;
    int converted = 0;      // records appended to TESSELON.URP
    int skipped = 0;        // records named like a default report
    bool setAside = false;  // a read or write error: STAMP.URP renamed kOldReportAsideName
};

// Converts the records of STAMP.URP in `folder` that do not carry a default report's name and
// appends them to TESSELON.URP; then deletes STAMP.URP. When the old file ends in a partial
// record or a converted record cannot be appended, the records converted so far stay appended
// and STAMP.URP is renamed aside instead of deleted, so nothing the user made is lost and the
// conversion does not repeat at every start.
ConversionResult convertOldReportFile(const QString& folder);

// One record of the earlier 19,831-byte layout as a current definition.
ReportDefinition convertOldRecord(const char* bytes);
inline constexpr int kOldReportRecordSize = 19831;

}  // namespace reports
