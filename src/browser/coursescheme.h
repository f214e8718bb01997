#pragma once
// The "course:" URL scheme: course pages, their pictures, style sheets and
// scripts are served from the content folder, names found without regard to
// letter case (the course was written on Windows), and nothing outside the
// content folder is ever served. "course:/HTML/MOONPHASE.HTM" is the file
// HTML/MoonPhase.htm of the content folder, in whatever case it is stored.

#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

namespace quarvel {

inline constexpr char kCourseScheme[] = "course";

// Must be called once before the application object is created.
void RegisterCourseScheme();

// The course URL of a path relative to the content folder.
QUrl CourseUrl(const QString& relativePath);
// The file behind a course URL (or a local file URL), or empty when missing
// or outside `root`.
QString CourseFileForUrl(const QString& root, const QUrl& url);

class TCourseSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    TCourseSchemeHandler(QString root, QObject* parent = nullptr);
    void requestStarted(QWebEngineUrlRequestJob* job) override;
    // Installs a handler for `root` on `profile`.
    static void Install(QWebEngineProfile* profile, const QString& root);

private:
    QString m_root;
};

} // namespace quarvel
