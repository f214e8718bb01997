#pragma once
// The rules every navigation of the course browser passes before it
// happens, and the binding of page names to topic ids. Pure functions over
// URL text, so the whole rule set can be tested without a browser.
//
// Rules, in order; the first that applies decides:
//   1. segment has "!"       index heading click (number after the first "!")
//   2. segment has "$"       enlarge picture HTML/images/<segment without "$">
//   3. extension ".FLV"      play Video/<segment> (any letter case)
//   4. segment has "+"       page command <segment>
//   5. segment has "?"       ignored
//   6. URL has "http:"       opened in the user's web browser ("https:" too)
//   7. otherwise             an ordinary page
// All but 7 (and a "!" link without a number) cancel the navigation.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace quarvel {

enum class TNavKind { HeadingClick, PassThrough, Picture, Video, PageCommand, Ignored, External, Page };

struct TNavDecision {
    TNavKind Kind = TNavKind::Page;
    bool Cancel = false;
    int Heading = 0;   // HeadingClick
    QString Segment;   // the URL's last segment
    QString File;      // Picture, Video: the file (empty when missing)
};

// Text after the last "/" of the URL; without "/", after the last "\" or ":".
QString UrlSegment(const QString& url);
// The segment's file name, upper-cased, cut before the first "#".
QString PageName(const QString& segment);

// `htmlFolder` and `videoFolder` are where pictures and videos are looked
// for (without regard to letter case).
TNavDecision ClassifyNavigation(const QString& url, const QString& htmlFolder,
                                const QString& videoFolder);

// Every page name bound to a topic, upper case, in no particular order.
QStringList TopicPageNames();

// The topic id bound to the page, or `current` for an empty or unlisted name.
std::int32_t TopicIdForPage(const QString& segment, std::int32_t current);

} // namespace quarvel
