// The pictures of a PDF file: JPEG files embedded as they are stored (DCTDecode), other
// pictures decoded once and written as compressed RGB samples.
#include <QFile>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "reports/pdf_file.h"
#include "reports/pdf_syntax.h"

namespace reports {

using namespace pdf;

namespace {

struct JpegHeader {
    int width = 0, height = 0, components = 0;
    bool adobe = false;  // an Adobe marker: four-component files store inverted samples
};

// The frame header of a JPEG file that PDF readers decode (baseline, extended or progressive
// Huffman coding, 8-bit samples, 1, 3 or 4 components); nothing for anything else.
std::optional<JpegHeader> jpegHeader(const QByteArray& bytes) {
    const auto byte = [&bytes](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
    JpegHeader header;
    qsizetype at = 2;
    while (at + 4 <= bytes.size()) {
        if (byte(at) != 0xFF) return std::nullopt;
        const unsigned marker = byte(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const qsizetype length = (byte(at + 2) << 8) | byte(at + 3);
        if (length < 2 || at + 2 + length > bytes.size()) return std::nullopt;
        if (marker == 0xEE && length >= 7 && bytes.mid(at + 4, 5) == "Adobe") header.adobe = true;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (length < 8 || byte(at + 4) != 8) return std::nullopt;
            header.height = (byte(at + 5) << 8) | byte(at + 6);
            header.width = (byte(at + 7) << 8) | byte(at + 8);
            header.components = byte(at + 9);
            if (header.width <= 0 || header.height <= 0) return std::nullopt;
            if (header.components != 1 && header.components != 3 && header.components != 4)
                return std::nullopt;
            return header;
        }
        if ((marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
             marker != 0xCC) ||
            marker == 0xDA)
            return std::nullopt;  // other codings, or scan data before any frame header
        at += 2 + length;
    }
    return std::nullopt;
}

// The image-space matrices that turn a stored picture as its orientation says, in the order
// they are written (the last written applies first): mirror and flip first, then a quarter turn
// clockwise, as Qt applies them.
std::string orientationMatrices(QImageIOHandler::Transformations turn) {
    std::string out;
    if (turn & QImageIOHandler::TransformationRotate90) out += "0 -1 1 0 0 1 cm ";
    if (turn & QImageIOHandler::TransformationFlip) out += "1 0 0 -1 0 1 cm ";
    if (turn & QImageIOHandler::TransformationMirror) out += "-1 0 0 1 1 0 cm ";
    return out;
}

}  // namespace

PdfFile::PlacedPicture PdfFile::picture(const PlacedImage& placed) {
    const auto known = pictures_.find(placed.path);
    if (known != pictures_.end()) return known->second;
    PlacedPicture result;
    QFile file(placed.path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (const std::optional<JpegHeader> jpeg = jpegHeader(bytes)) {
        QImageReader reader(placed.path);
        result.turn = orientationMatrices(reader.transformation());
        result.object = reserveObject();
        std::string dict = "/Type /XObject /Subtype /Image /Width " + std::to_string(jpeg->width) +
                           " /Height " + std::to_string(jpeg->height) +
                           " /BitsPerComponent 8 /ColorSpace " +
                           (jpeg->components == 1   ? "/DeviceGray"
                            : jpeg->components == 3 ? "/DeviceRGB"
                                                    : "/DeviceCMYK") +
                           " ";
        if (jpeg->components == 4 && jpeg->adobe) dict += "/Decode [1 0 1 0 1 0 1 0] ";
        writeRawStream(result.object, bytes, dict + "/Filter /DCTDecode ");
    } else {
        bytes.clear();
        // Decoded at most as fine as print needs, turned as the file says, on white.
        const QImage image = decodePicture(placed, QSizeF(1e9, 1e9));
        if (image.isNull()) return result;  // object 0: the frame stays empty
        QImage rgb(image.size(), QImage::Format_RGB888);
        rgb.fill(Qt::white);
        {
            QPainter painter(&rgb);
            painter.drawImage(0, 0, image);
        }
        QByteArray samples;
        const qsizetype rowBytes = qsizetype(rgb.width()) * 3;
        samples.reserve(rowBytes * rgb.height());
        for (int y = 0; y < rgb.height(); ++y)
            samples.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rowBytes);
        result.object = reserveObject();
        writeStream(result.object, samples,
                    "/Type /XObject /Subtype /Image /Width " + std::to_string(rgb.width()) +
                        " /Height " + std::to_string(rgb.height()) +
                        " /BitsPerComponent 8 /ColorSpace /DeviceRGB ");
    }
    pictures_.emplace(placed.path, result);
    return result;
}

void PdfFile::addImages(const Page& page, std::string& resources) {
    std::vector<int> used;
    for (const PlacedImage& placed : page.images) {
        const PlacedPicture p = picture(placed);
        if (p.object == 0) continue;
        // The unit square of image space onto the picture's place, its top edge up the page.
        content_ += "q ";
        number(content_, placed.width * kReferenceDpi);
        content_ += "0 0 ";
        number(content_, -placed.height * kReferenceDpi);
        number(content_, placed.x * kReferenceDpi);
        number(content_, (placed.y + placed.height) * kReferenceDpi);
        content_ += "cm " + p.turn + "/Im" + std::to_string(p.object) + " Do Q\n";
        if (std::find(used.begin(), used.end(), p.object) == used.end()) used.push_back(p.object);
    }
    if (used.empty()) return;
    resources += " /XObject <<";
    for (const int object : used)
        resources += " /Im" + std::to_string(object) + ' ' + objectRef(object);
    resources += " >>";
}

}  // namespace reports
