#include "editor/editoricons.h"

#include "widgets/datamod.h"

#include <QFile>
#include <QHash>

static void InitEditorIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(editor);
        return true;
    }();
    (void)done;
}

namespace quarvel {

QIcon EditorIcon(const QString& name, int size) {
    InitEditorIconResources();
    // The menus name some pictures by their small versions; one drawing serves both.
    static const QHash<QString, QString> alias = {{QStringLiteral("File_open"), QStringLiteral("FileOpen")},
                                                  {QStringLiteral("save16_h"), QStringLiteral("FileSave")},
                                                  {QStringLiteral("print16_h"), QStringLiteral("print24_h")}};
    const QString file = alias.value(name, name);
    const QString own = QStringLiteral(":/editor-icons/%1.svg").arg(file);
    if (!QFile::exists(own))
        return RenderIcon(file, size);
    return RenderSvgIcon(own, size);
}

} // namespace quarvel
