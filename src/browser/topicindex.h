#pragma once
// The course's table of contents: headings, each with its topic pages. It is
// read from the binary file "HTML/index.ux" and shown as a block of markup
// put into the element "index" of the index page; a heading click opens or
// closes that heading, and opening a page opens its heading and marks it.
//
// File layout (little-endian; strings are an int32 count of UTF-16 code
// units and the UTF-16LE text):
//   int32 magic        105123 current, 105122 older
//   [older: two strings and one byte, skipped]
//   int32 N, then N headings:
//     int32 tag, string title, [older: two strings], int32 M, then M children:
//       string title, string link, [older: one string]

#include <QList>
#include <QString>
#include <memory>
#include <stdexcept>

namespace quarvel {

class EBadIndexFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::int32_t kIndexMagic = 105123;
constexpr std::int32_t kIndexMagicOld = 105122;

struct TEWBChildItem {
    QString Title;
    QString Link; // page file name relative to the HTML folder
    bool Selected = false;
};

struct TEWBHeading {
    QString Title;
    std::int32_t Tag = 0;
    QList<TEWBChildItem> Children;
    bool Expanded = false;
};

class TEWBHTMLIndex {
public:
    QList<TEWBHeading> Headings;
    bool SingleExpanded = true; // only one heading open at a time

    // Replaces all headings with those of the file; EBadIndexFile for a
    // wrong magic, EStreamError for a file shorter than its counts say.
    void LoadFromFile(const QString& path);
    void LoadFromBytes(const QByteArray& bytes);
    // The current layout, as LoadFromBytes reads it.
    QByteArray SaveToBytes() const;

    // The markup block; titles and links go in verbatim.
    QString GetHTML() const;
    void ToggleHeading(int i);
    void ExpandHeading(int i);
    void ExpandAll();
    void CollapseAll();
    // Marks every child whose link equals `page` without regard to case.
    void SelectPage(const QString& page);
    // The first heading holding `page` (without regard to case), or -1.
    int HeadingOfPage(const QString& page) const;

private:
    void OpenHeading(int i, bool toggle);
};

} // namespace quarvel
