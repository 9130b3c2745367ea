#include "interchange/import_run.h"

#include <algorithm>

#include "collection/stamp_schema.h"
#include "engine/error.h"
#include "engine/table.h"
#include "interchange/byte_source.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/read_ahead.h"
#include "interchange/transfer_error.h"
#include "interchange/value_conversion.h"

namespace interchange {

namespace {

// True for "[-]digits[.digits]" with at least one digit and at most 15 significant ones.
bool isPlainDecimal(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    int significant = 0;
    bool any = false, point = false;
    for (char c : s) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            any = true;
            if (c != '0' || significant > 0) ++significant;
        } else {
            return false;
        }
    }
    return any && significant <= 15;
}

// Writes converted values into the new record of the target table.
class RecordFiller {
  public:
    RecordFiller(engine::Table& table, const FieldAssignment& assignment,
                 const ImportOptions& options)
        : table_(table), options_(options) {
        for (int stampField : assignment) {
            Target t;
            if (stampField >= 1 && stampField <= collection::kFieldCount) {
                const collection::SchemaField& f = collection::schemaField(stampField);
                t.field = table.fieldIndex(f.name);
                t.kind = f.kind;
                t.width = f.length;
            }
            targets_.push_back(t);
        }
    }

    bool assigned(int importField) const {
        return importField < int(targets_.size()) && targets_[std::size_t(importField)].field >= 0;
    }

    // Stores `utf8` from import field `importField` (no-op when it has no stamp field).
    void store(int importField, std::string_view utf8) {
        if (!assigned(importField)) return;
        const Target& t = targets_[std::size_t(importField)];
        try {
            switch (t.kind) {
                case collection::FieldKind::Integer:
                case collection::FieldKind::Float:
                    // An unknown number stays unknown: blank, not 0.
                    if (isBlankNumber(utf8)) return;
                    break;
                default:
                    break;
            }
            switch (t.kind) {
                case collection::FieldKind::Integer:
                    table_.setInteger(t.field, importInteger(utf8));
                    break;
                case collection::FieldKind::Float:
                    // Plain decimal text goes to the field as text: the same digits as through
                    // a double (at most 15 significant digits), without the conversions.
                    if (isPlainDecimal(utf8))
                        table_.setText(t.field, utf8);
                    else
                        table_.setNumber(t.field, importFloat(utf8));
                    break;
                case collection::FieldKind::Date:
                    if (auto d = importDate(utf8, options_.dateFormat, options_.currentYear))
                        table_.setDate(t.field, *d);
                    break;
                case collection::FieldKind::Text:
                    storeText(t, utf8);
                    break;
            }
        } catch (const engine::EngineError&) {
            // A number wider than the field: the field stays empty, the record goes in.
            table_.setBlank(t.field);
        }
    }

    void storeDate(int importField, const engine::Date& date) {
        if (!assigned(importField)) return;
        const Target& t = targets_[std::size_t(importField)];
        if (t.kind == collection::FieldKind::Date) table_.setDate(t.field, date);
    }

    bool goesToDate(int importField) const {
        return assigned(importField) &&
               targets_[std::size_t(importField)].kind == collection::FieldKind::Date;
    }

    std::uint64_t valuesChanged() const { return changed_; }
    std::uint64_t valuesCut() const { return cut_; }

  private:
    struct Target {
        int field = -1;  // field index in the table, -1 for none
        collection::FieldKind kind = collection::FieldKind::Text;
        int width = 0;   // characters the field holds
    };

    void storeText(const Target& t, std::string_view utf8) {
        // An empty value needs no conversion: the field is blanked (a value stored into it
        // earlier in the record, from another column given the same field, goes).
        if (utf8.empty()) {
            table_.setBlank(t.field);
            return;
        }
        // A character the code page lacks is stored as a stand-in (the run turns them on);
        // such values are counted for the completion message, and so are values the field's
        // width cuts (their trailing blanks aside, which the table drops anyway).
        if (table_.setText(t.field, utf8)) ++changed_;
        if (utf8.size() > std::size_t(t.width) && charsWithoutTrailingBlanks(utf8) > t.width)
            ++cut_;
    }

    static int charsWithoutTrailingBlanks(std::string_view utf8) {
        while (!utf8.empty() && utf8.back() == ' ') utf8.remove_suffix(1);
        int n = 0;
        for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
        return n;
    }

    engine::Table& table_;
    const ImportOptions& options_;
    std::vector<Target> targets_;
    std::uint64_t changed_ = 0;
    std::uint64_t cut_ = 0;
};

// Runs `readOne` until it returns false; each call fills the new record through the filler and
// returns whether a record is to be posted. Turns source and engine failures into the result.
template <typename ReadOne, typename Posted>
ImportResult runImport(engine::Table& table, RecordFiller& filler, const ImportOptions& options,
                       ReadOne readOne, Posted posted) {
    ImportResult result;
    // Text the code page cannot hold is stored with stand-ins for this run only.
    struct StandIns {
        engine::Table& table;
        explicit StandIns(engine::Table& t) : table(t) { table.setStandIns(true); }
        ~StandIns() { table.setStandIns(false); }
    } standIns(table);
    // New records are posted as one append run: the table's write lock and its index stamp are
    // taken once a slice of the run rather than once a record.
    struct AppendRun {
        engine::Table& table;
        explicit AppendRun(engine::Table& t) : table(t) { table.beginAppendRun(); }
        ~AppendRun() {
            try {
                table.endAppendRun();
            } catch (const std::exception&) {
            }
        }
    } appendRun(table);
    try {
        for (;;) {
            table.append();
            bool post = false;
            if (!readOne(post)) {
                table.cancel();
                break;
            }
            if (!post) {
                table.cancel();
                continue;
            }
            table.post();
            ++result.added;
            posted(table.recNo());
            if (options.progress) options.progress(result.added);
        }
        table.endAppendRun();
    } catch (const std::exception& e) {
        if (table.state() != engine::EditState::Browse) table.cancel();
        result.error = e.what();
    }
    // The pictures of every record posted are linked, those before a failure too.
    if (options.pictures) {
        try {
            options.pictures->finish();
        } catch (const std::exception& e) {
            if (result.error.empty()) result.error = e.what();
        }
        result.pictures = options.pictures->outcome();
    }
    result.valuesChanged = filler.valuesChanged();
    result.valuesCut = filler.valuesCut();
    return result;
}

}  // namespace

ImportResult importText(engine::Table& table, const std::string& path, int importFieldCount,
                        bool skipFirst, const FieldAssignment& assignment,
                        const ImportOptions& options) {
    RecordFiller filler(table, assignment, options);
    const int fields = std::clamp(importFieldCount, 1, kMaxImportFields);
    std::unique_ptr<DelimitedLineReader> reader;
    std::uint64_t unreadable = 0;
    std::vector<std::uint64_t> unreadableLines;
    // The picture column, when one is assigned and the pictures have somewhere to go.
    const auto column = std::find(assignment.begin(), assignment.end(), kPictureColumn);
    const int pictureField =
        column != assignment.end() && options.pictures ? int(column - assignment.begin()) : -1;
    // The file is read on a thread of its own while the records it gave are stored; that thread
    // touches nothing of the table.
    const engine::CodePage codePage = table.codePage();
    struct TextRecord {
        std::vector<std::string> values;
        int count = 0;
        std::uint64_t line = 0;
    };
    ReadAhead<TextRecord> ahead([&](TextRecord& record) {
        if (!reader) {
            // A file that is not UTF-8 is taken to be in the collection's own code page.
            reader = std::make_unique<DelimitedLineReader>(path, codePage);
            reader->setLongField(pictureField);
            if (skipFirst && !reader->atEnd()) reader->readRecord(record.values, fields);
        }
        if (reader->atEnd()) return false;
        record.count = reader->readRecord(record.values, fields);
        record.line = reader->recordLine();
        return true;
    });
    const TextRecord* record = nullptr;
    const auto posted = [&](std::uint32_t recno) {
        if (pictureField >= 0 && pictureField < record->count)
            options.pictures->addNamed(table, recno, record->values[std::size_t(pictureField)]);
    };
    ImportResult result = runImport(
        table, filler, options,
        [&](bool& post) {
            record = ahead.next();
            if (!record) return false;
            if (record->count < 0) {
                ++unreadable;
                if (unreadableLines.size() < kUnreadableLinesNamed)
                    unreadableLines.push_back(record->line);
            }
            for (int i = 0; i < record->count; ++i) filler.store(i, record->values[std::size_t(i)]);
            post = record->count > 0;
            return true;
        },
        posted);
    result.unreadable = unreadable;
    result.unreadableLines = std::move(unreadableLines);
    return result;
}

ImportResult importRecords(engine::Table& table, const FieldAssignment& assignment,
                           const ImportOptions& options,
                           const std::function<bool(std::vector<std::string>& values)>& next,
                           const std::function<void(std::uint32_t recno)>& posted) {
    RecordFiller filler(table, assignment, options);
    std::vector<std::string> values(assignment.size());
    return runImport(
        table, filler, options,
        [&](bool& post) {
            for (std::string& v : values) v.clear();
            if (!next(values)) return false;
            for (std::size_t i = 0; i < values.size() && i < assignment.size(); ++i)
                filler.store(int(i), values[i]);
            post = true;
            return true;
        },
        [&](std::uint32_t recno) {
            if (posted) posted(recno);
        });
}

ImportResult importDbf(engine::Table& table, const std::string& path,
                       const FieldAssignment& assignment, const ImportOptions& options) {
    RecordFiller filler(table, assignment, options);
    engine::Table source;
    std::uint32_t last = 0;
    std::uint32_t recno = 0;
    int fields = 0;
    std::string text;
    return runImport(
        table, filler, options,
        [&](bool& post) {
            if (!source.isOpen()) {
                requireRegularFile(path);
                source.open(path, engine::OpenMode::Shared);
                // Records appended meanwhile (the source may be the collection itself) are not
                // read.
                last = source.physicalCount();
                fields = std::min(source.fieldCount(), kMaxImportFields);
            }
            while (recno < last) {
                const engine::RecordView r = source.record(++recno);
                if (r.deleted()) continue;
                for (int i = 0; i < fields; ++i) {
                    const engine::FieldInfo& info = source.fields()[std::size_t(i)];
                    if (info.type == engine::FieldType::Date && filler.goesToDate(i)) {
                        const engine::Date d = r.date(i);
                        if (!d.blank()) filler.storeDate(i, d);
                        continue;
                    }
                    editTextInto(r, i, info, options.dateFormat, text);
                    filler.store(i, text);
                }
                post = true;
                return true;
            }
            return false;
        },
        [](std::uint32_t) {});
}

std::string unreadableLinesText(const ImportResult& result) {
    if (result.unreadable == 0) return {};
    if (result.unreadable == 1 && result.unreadableLines.size() == 1)
        return "Line " + std::to_string(result.unreadableLines[0]) +
               " could not be read (a quote left open) and was left out.";
    std::string text = std::to_string(result.unreadable) +
                       " lines could not be read (a quote left open) and were left out: lines ";
    for (std::size_t i = 0; i < result.unreadableLines.size(); ++i) {
        if (i) text += ", ";
        text += std::to_string(result.unreadableLines[i]);
    }
    if (result.unreadable > result.unreadableLines.size())
        text += " and " + std::to_string(result.unreadable - result.unreadableLines.size()) +
                " more";
    return text + ".";
}

QString readOnlyImportMessage(const QString& tablePath) {
    return QStringLiteral("The collection \"%1\" is read-only: its table, its index or its folder "
                          "cannot be written.  Nothing was imported.")
        .arg(tablePath);
}

std::string importNotes(const ImportResult& result) {
    std::string text;
    if (result.valuesCut == 1)
        text = "1 value was longer than its field and was cut to the field's width.";
    else if (result.valuesCut > 1)
        text = std::to_string(result.valuesCut) +
               " values were longer than their fields and were cut to the fields' widths.";
    const std::string lines = unreadableLinesText(result);
    if (!lines.empty()) text += (text.empty() ? "" : "  ") + lines;
    const std::string pictures = picturesText(result.pictures);
    if (!pictures.empty()) text += (text.empty() ? "" : "  ") + pictures;
    return text;
}

std::string picturesText(const PictureTally& pictures) {
    std::string text;
    if (pictures.added > 0)
        text = pictures.added == 1 ? "1 picture was added."
                                   : std::to_string(pictures.added) + " pictures were added.";
    if (pictures.missing == 0) return text;
    if (!text.empty()) text += "  ";
    text += pictures.missing == 1
                ? "1 picture could not be found or is not a picture, and was left out: "
                : std::to_string(pictures.missing) +
                      " pictures could not be found or are not pictures, and were left out: ";
    return text + pictures.missingList() + ".";
}

std::vector<std::string> dbfFieldNames(const std::string& path) {
    requireRegularFile(path);
    engine::Table source;
    source.open(path, engine::OpenMode::Shared);
    std::vector<std::string> names;
    for (const engine::FieldInfo& f : source.fields()) {
        if (names.size() == std::size_t(kMaxImportFields)) break;
        names.push_back(f.name);
    }
    return names;
}

}  // namespace interchange
