#include "browser/topicindex.h"

#include "common/lestream.h"

#include <QFile>

namespace quarvel {

void TEWBHTMLIndex::LoadFromFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open %1").arg(path).toStdString());
    LoadFromBytes(f.readAll());
}

void TEWBHTMLIndex::LoadFromBytes(const QByteArray& bytes) {
    TLEReader in(bytes);
    const std::int32_t magic = in.ReadInt32();
    if (magic != kIndexMagic && magic != kIndexMagicOld)
        throw EBadIndexFile("Invalid unicode index file");
    const bool old = magic == kIndexMagicOld;
    if (old) {
        in.ReadUtf16String();
        in.ReadUtf16String();
        in.Skip(1);
    }
    QList<TEWBHeading> headings;
    const std::int32_t n = in.ReadInt32();
    // Each heading takes at least 12 bytes: a count can't promise more than that.
    if (n < 0 || qint64(n) * 12 > in.Remaining())
        throw EStreamError(QStringLiteral("Invalid heading count %1").arg(n).toStdString());
    for (std::int32_t i = 0; i < n; ++i) {
        TEWBHeading h;
        h.Tag = in.ReadInt32();
        h.Title = in.ReadUtf16String();
        if (old) {
            in.ReadUtf16String();
            in.ReadUtf16String();
        }
        const std::int32_t m = in.ReadInt32();
        if (m < 0 || qint64(m) * 8 > in.Remaining())
            throw EStreamError(QStringLiteral("Invalid page count %1").arg(m).toStdString());
        for (std::int32_t j = 0; j < m; ++j) {
            TEWBChildItem c;
            c.Title = in.ReadUtf16String();
            c.Link = in.ReadUtf16String();
            if (old)
                in.ReadUtf16String();
            h.Children.append(c);
        }
        headings.append(h);
    }
    Headings = std::move(headings);
}

QByteArray TEWBHTMLIndex::SaveToBytes() const {
    TLEWriter out;
    out.WriteInt32(kIndexMagic);
    out.WriteInt32(std::int32_t(Headings.size()));
    for (const TEWBHeading& h : Headings) {
        out.WriteInt32(h.Tag);
        out.WriteUtf16String(h.Title);
        out.WriteInt32(std::int32_t(h.Children.size()));
        for (const TEWBChildItem& c : h.Children) {
            out.WriteUtf16String(c.Title);
            out.WriteUtf16String(c.Link);
        }
    }
    return out.Data();
}

QString TEWBHTMLIndex::GetHTML() const {
    QString html;
    for (int i = 0; i < Headings.size(); ++i) {
        const TEWBHeading& h = Headings[i];
        html += h.Expanded ? QStringLiteral("<div class=\"level1exp\"><span id=\"")
                           : QStringLiteral("<div class=\"level1\"><span id=\"");
        html += QString::number(i) + QStringLiteral("\"></span><a href=\"!") + QString::number(i) +
                QStringLiteral("\">") + h.Title + QStringLiteral("</a></div>");
        if (!h.Expanded)
            continue;
        for (const TEWBChildItem& c : h.Children) {
            html += c.Selected ? QStringLiteral("<div class=\"level2selected\"><a href=\"")
                               : QStringLiteral("<div class=\"level2\"><a href=\"");
            html += c.Link + QStringLiteral("\">") + c.Title + QStringLiteral("</a></div>");
        }
    }
    return html;
}

void TEWBHTMLIndex::OpenHeading(int i, bool toggle) {
    if (i < 0 || i >= Headings.size())
        return;
    if (SingleExpanded)
        for (int j = 0; j < Headings.size(); ++j)
            if (j != i)
                Headings[j].Expanded = false;
    Headings[i].Expanded = toggle ? !Headings[i].Expanded : true;
}

void TEWBHTMLIndex::ToggleHeading(int i) { OpenHeading(i, true); }
void TEWBHTMLIndex::ExpandHeading(int i) { OpenHeading(i, false); }

void TEWBHTMLIndex::ExpandAll() {
    SingleExpanded = false;
    for (TEWBHeading& h : Headings)
        h.Expanded = true;
}

void TEWBHTMLIndex::CollapseAll() {
    for (TEWBHeading& h : Headings)
        h.Expanded = false;
}

void TEWBHTMLIndex::SelectPage(const QString& page) {
    for (TEWBHeading& h : Headings)
        for (TEWBChildItem& c : h.Children)
            c.Selected = c.Link.compare(page, Qt::CaseInsensitive) == 0;
}

int TEWBHTMLIndex::HeadingOfPage(const QString& page) const {
    for (int i = 0; i < Headings.size(); ++i)
        for (const TEWBChildItem& c : Headings[i].Children)
            if (c.Link.compare(page, Qt::CaseInsensitive) == 0)
                return i;
    return -1;
}

} // namespace quarvel
