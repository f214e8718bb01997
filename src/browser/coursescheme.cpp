#include "browser/coursescheme.h"

#include "common/contentpath.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace quarvel {

void RegisterCourseScheme() {
    static bool done = false;
    if (done)
        return;
    done = true;
    QWebEngineUrlScheme scheme(kCourseScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                    QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl CourseUrl(const QString& relativePath) {
    QString p = relativePath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    QUrl url;
    url.setScheme(QLatin1String(kCourseScheme));
    url.setPath(p);
    return url;
}

QString CourseFileForUrl(const QString& root, const QUrl& url) {
    if (url.scheme() == QLatin1String(kCourseScheme))
        return ResolveContentPath(root, url.path());
    if (url.isLocalFile()) {
        const QString file = url.toLocalFile();
        return QFileInfo::exists(file) && IsInsideRoot(root, file) ? file : QString();
    }
    return {};
}

TCourseSchemeHandler::TCourseSchemeHandler(QString root, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_root(std::move(root)) {}

void TCourseSchemeHandler::Install(QWebEngineProfile* profile, const QString& root) {
    if (profile->urlSchemeHandler(kCourseScheme))
        profile->removeUrlScheme(kCourseScheme);
    profile->installUrlSchemeHandler(kCourseScheme, new TCourseSchemeHandler(root, profile));
}

void TCourseSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QString file = CourseFileForUrl(m_root, job->requestUrl());
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(f.readAll());
    QByteArray mime = QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).name().toLatin1();
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        mime = "text/html";
    job->reply(mime, buffer);
}

} // namespace quarvel
