// A PDF file written straight from laid-out pages, the fast road to a PDF report.
//
// Each page becomes one content stream: the page's lines (shared box edges joined) as one
// path, then its text runs, each one positioned glyph run whose kerning travels in the run
// itself. Fonts are embedded whole as TrueType (CIDFontType2, glyph ids as character codes)
// with the widths the layout measured (FontGlyphs) and a ToUnicode map, so the text can be
// searched and copied. The drawing matches what paintPage draws through QPainter on a PDF
// device: same fonts, sizes, positions, pen and colours.
//
// Pictures go in as image objects drawn under the text: a JPEG file as it is stored (its
// orientation applied by the drawing matrix), other formats decoded once, at most kPictureDpi
// fine, as compressed RGB samples. One picture file is in memory at a time.
//
// Only fonts with TrueType outlines, in the weight and slant asked for and without underline
// or strike-out, can be written this way (`canEmbed`); for others the caller paints through
// QPdfWriter instead.
#pragma once

#include <QFile>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reports/font_glyphs.h"
#include "reports/page_engine.h"
#include "reports/page_model.h"

namespace reports {

class PdfFile : public PageSink {
  public:
    PdfFile(const QString& path, const PageSetup& setup, const QString& title);
    ~PdfFile() override;

    static bool canEmbed(const PageFont& font);

    void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) override;
    void finished(const std::vector<PageFont>& fonts) override;
    // False once the file could not be created or written.
    bool ok() const { return ok_; }
    // What failed, naming the file and the system's reason ("No space left on device"), taken
    // when it failed: closing a file forgets the reason of an earlier failure.
    QString errorString() const { return error_; }

  private:
    // One embedded font file, shared by every size of its face.
    struct Face {
        std::string name;
        const FontGlyphs* glyphs = nullptr;  // one of its sizes, for the font's tables
        int object = 0;                      // the Type0 font
        std::vector<char16_t> used;          // per glyph: first UTF-16 unit drawn, 0 = unused
        std::vector<char16_t> usedLow;       // its low surrogate, if any
    };
    // One page font: a face at one size.
    struct Font {
        std::unique_ptr<FontGlyphs> glyphs;
        int face = -1;
    };
    int reserveObject();
    void beginObject(int number);
    void write(std::string_view text);
    void fail(const QString& doing);
    void writeStream(int number, const QByteArray& data, const std::string& dictionary);
    // A stream of `data` as it is (already in the form its dictionary's filter names).
    void writeRawStream(int number, const QByteArray& data, const std::string& dictionary);
    Font& font(int index, const std::vector<PageFont>& fonts);
    void addLines(const Page& page);
    void addTexts(const Page& page, const std::vector<PageFont>& fonts);
    // The page's pictures into the content, their objects into `resources` (pdf_images.cpp).
    void addImages(const Page& page, std::string& resources);
    // One picture file's image object, written the first time the file is placed.
    struct PlacedPicture {
        int object = 0;    // 0: the file could not be read
        std::string turn;  // matrices that turn a stored JPEG as its orientation says
    };
    PlacedPicture picture(const PlacedImage& placed);
    void writeFace(const Face& face);

    QFile file_;
    PageSetup setup_;
    QString title_;
    bool ok_ = true;
    QString error_;
    qint64 written_ = 0;
    std::vector<qint64> offsets_{0};  // per object number; 0 = not written
    std::vector<int> pages_;
    std::vector<Font> fonts_;  // per page font index
    std::vector<Face> faces_;
    std::string content_;  // the page being written
    std::vector<FontGlyphs::Glyph> run_;
    std::map<QString, PlacedPicture> pictures_;  // by file path
};

}  // namespace reports
