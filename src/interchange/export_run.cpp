#include "interchange/export_run.h"

#include <unistd.h>

#include <QString>

#include "collection/collection_own_files.h"
#include "collection/replacing_file.h"
#include "collection/stamp_schema.h"
#include "collection/stamp_table_defs.h"
#include "engine/error.h"
#include "engine/companion_files.h"
#include "engine/table.h"
#include "engine/table_probe.h"
#include "interchange/delimited_text_writer.h"
#include "interchange/value_conversion.h"

namespace interchange {

namespace {

// The source table's field index of each listed stamp field (-1 when the table lacks it).
std::vector<int> sourceFields(const engine::Table& source, const std::vector<int>& fields) {
    std::vector<int> indexes;
    for (int number : fields)
        indexes.push_back(source.fieldIndex(collection::schemaField(number).name));
    return indexes;
}

bool isText(const engine::FieldInfo& f) {
    return f.type == engine::FieldType::Character;
}

// Walks the visible records in order, handing each to `write`; failures go into the result.
template <typename Write>
ExportResult walkRecords(engine::Table& source, const ExportRequest& request, Write write) {
    ExportResult result;
    try {
        for (source.first(); !source.eof(); source.next()) {
            write(source.current());
            ++result.written;
            if (request.progress) request.progress(result.written);
        }
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

// Copies field `from` of `record` into field `to` of the new table's record being added.
void copyValue(const engine::RecordView& record, int from, const engine::FieldInfo& fromInfo,
               engine::Table& target, int to, const collection::DateFormat& format,
               std::string& text) {
    const engine::FieldType type = target.fields()[std::size_t(to)].type;
    try {
        if (type == engine::FieldType::Date && fromInfo.type == engine::FieldType::Date) {
            const engine::Date d = record.date(from);
            if (!d.blank()) target.setDate(to, d);
            return;
        }
        editTextInto(record, from, fromInfo, format, text);
        if (text.empty()) return;
        if (type == engine::FieldType::Date) {
            if (auto d = importDate(text, format, 2000)) target.setDate(to, *d);
            return;
        }
        target.setText(to, text);
    } catch (const engine::EngineError&) {
        target.setBlank(to);  // a value the new field cannot hold: left empty
    }
}

}  // namespace

std::string exportNotes(const ExportResult& result) {
    const PictureTally& p = result.pictures;
    if (p.missing == 0) return {};
    std::string text = p.missing == 1
                           ? "1 picture file was missing from the collection's picture folder and "
                             "was left out: "
                           : std::to_string(p.missing) +
                                 " picture files were missing from the collection's picture "
                                 "folder and were left out: ";
    return text + p.missingList() + ".";
}

std::string refusedTarget(const engine::Table& source, const std::string& path) {
    const QString table = QString::fromStdString(source.path());
    const QString target = QString::fromStdString(path);
    if (const auto own = collection::collectionFileAt(table, target))
        return collection::ownFileRefusal(target, *own, table).toStdString();
    return {};
}

std::vector<engine::FieldDef> exportFieldDefs(const std::vector<int>& fields) {
    std::vector<engine::FieldDef> defs;
    for (int number : fields)
        defs.push_back(collection::stampTableFieldDefs().at(std::size_t(number - 1)));
    return defs;
}

ExportResult exportText(engine::Table& source, const std::string& path,
                        const ExportRequest& request) {
    const std::vector<int> from = sourceFields(source, request.fields);
    const engine::CodePage cp = source.codePage();
    // Four-digit years whatever the display format: a two-digit year would come back in the
    // wrong century (1898 read back as 1998).
    const collection::DateFormat dates = withFourDigitYears(request.dateFormat);
    std::string text;
    ExportResult result;
    result.error = refusedTarget(source, path);
    if (!result.error.empty()) return result;
    try {
        // In the collection's own code page: every character it holds is written as it is.
        DelimitedTextWriter writer(path, cp);
        if (!request.titles.empty()) {
            for (const std::string& title : request.titles) writer.addUtf8(title);
            if (request.pictures) writer.addUtf8(kPictureColumnName);
            writer.endLine();
        }
        result = walkRecords(source, request, [&](const engine::RecordView& r) {
            for (int f : from) {
                if (f < 0) {
                    writer.addBytes({});
                    continue;
                }
                const engine::FieldInfo& info = source.fields()[std::size_t(f)];
                if (isText(info)) {
                    writer.addBytes(r.raw(f));  // already in the file's code page
                    continue;
                }
                editTextInto(r, f, info, dates, text);
                writer.addUtf8(text);
            }
            if (request.pictures) writer.addUtf8(request.pictures->column(r.recNo()));
            writer.endLine();
        });
        if (result.error.empty()) {
            if (request.pictures) request.pictures->stage(nullptr);
            writer.finish();
            if (request.pictures) request.pictures->putInPlace();
        }
        if (request.pictures) result.pictures = request.pictures->outcome();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

ExportResult exportDbf(engine::Table& source, const std::string& path,
                       const ExportRequest& request) {
    const std::vector<int> from = sourceFields(source, request.fields);
    std::string text;
    ExportResult result;
    result.error = refusedTarget(source, path);
    if (!result.error.empty()) return result;
    try {
        // A table another program has open is not replaced under it.
        if (engine::fileExists(path) && engine::tableHeld(path))
            throw engine::EngineError("The table \"" + path + "\" is in use by another program.");
        // Written under a temporary name and put in place only when whole.
        collection::ReplacingFile file(path);
        file.closeFile();
        engine::Table::create(file.temporaryPath(), exportFieldDefs(request.fields),
                              source.codePage());
        engine::Table target;
        target.open(file.temporaryPath(), engine::OpenMode::Exclusive);
        // The new table has the collection's code page; should a value still hold a character it
        // lacks, a stand-in is written rather than losing the whole value.
        target.setStandIns(true);
        result = walkRecords(source, request, [&](const engine::RecordView& r) {
            target.append();
            for (std::size_t i = 0; i < from.size(); ++i) {
                if (from[i] < 0) continue;
                copyValue(r, from[i], source.fields()[std::size_t(from[i])], target, int(i),
                          request.dateFormat, text);
            }
            target.post();
            if (request.pictures) request.pictures->carried(r.recNo(), target.recNo());
        });
        if (target.state() != engine::EditState::Browse) target.cancel();
        if (result.error.empty() && request.pictures) request.pictures->stage(&target);
        target.close();
        if (result.error.empty()) {
            file.commit();
            // An index left by an earlier table of that name does not belong to the new one.
            const std::string staleIndex = engine::companionPath(file.finalPath(), ".MDX");
            if (engine::fileExists(staleIndex)) ::unlink(staleIndex.c_str());
            if (request.pictures) request.pictures->putInPlace();
        }
        if (request.pictures) result.pictures = request.pictures->outcome();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace interchange
