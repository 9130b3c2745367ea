// What a TellicoReader reads from (tellico_reader.cpp reads with QXmlStreamReader, and
// tellico_reader_scan.cpp with the entry scanner, sharing it).
#pragma once

#include <unistd.h>
#include <zip.h>

#include <QXmlStreamReader>
#include <cstdint>
#include <memory>
#include <string>

#include "interchange/tellico_entry_scanner.h"
#include "interchange/tellico_reader.h"
#include "interchange/tellico_xml_feed.h"

namespace interchange::tellico {

struct TellicoReader::Source {
    zip_t* archive = nullptr;  // for the pictures
    int fd = -1;
    std::unique_ptr<XmlFeed> feed;
    QXmlStreamReader xml;
    EntryScanner scanner;
    // The entry scanner reads the entries while `fast`, from `pos` on; the XML reader has not
    // been given `lines` line ends and `columns` columns since it last read, and the last '<'
    // lies `sinceMarkup` bytes before `pos`.
    bool fast = false;
    std::uint64_t pos = 0;
    std::uint64_t lines = 0, columns = 0;
    qint64 sinceMarkup = 0;
    QString collectionName;  // as its start tag writes it

    ~Source() {
        if (archive) zip_discard(archive);
        if (fd >= 0) ::close(fd);
    }
    std::string blanks() {
        std::string b(std::size_t(lines), '\n');
        b.append(std::size_t(columns), ' ');
        lines = columns = 0;
        return b;
    }
};

}  // namespace interchange::tellico
