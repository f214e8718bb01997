#pragma once
// A small reader for Windows-style INI files. Section and key names match
// without regard to case, as they did where the course's settings file was
// first written; an empty value counts as absent, so the caller's default
// applies. Comments start with ";" or "#".

#include <QHash>
#include <QString>

namespace quarvel {

class TIniFile {
public:
    TIniFile() = default;
    // Reads `path`; a missing or unreadable file gives an empty file.
    static TIniFile Load(const QString& path);
    static TIniFile Parse(const QByteArray& text);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Integers (non-zero is true) and true/false, yes/no, on/off; anything else gives `def`.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

private:
    // keys are "section\nkey", lower-cased
    QHash<QString, QString> m_values;
};

// What Vantrel reads from "vantrel.ini" in its content root.
struct TVantrelIni {
    QString QuestionFolder; // absolute, ends with "/"
    QString TestFilePath;   // QuestionFolder + file name
    bool TrolleyErrorFlag = false;
};

// Defaults: file "mctest.umq", folder content root + "questions/", flag false.
// A relative folder resolves against the content root; either separator is accepted.
TVantrelIni ReadVantrelIni(const QString& contentRoot);

} // namespace quarvel
