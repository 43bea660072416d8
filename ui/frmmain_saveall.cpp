// frmMain's "全部保存…": the list's context menu and Ctrl+Shift+S start the batch of ui/saveall.
#include "ui/frmmain.h"
#include "ui/saveall.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>

namespace orvello {

void frmMain::wireSaveAll()
{
    auto* command = new SaveAllCommand(
        host_,
        [this] {
            SaveAllInput input;
            const auto* list = control<QListWidget>(QStringLiteral("List1"));
            const QByteArray folder = QFile::encodeName(doc_.photoFolder);
            for (int i = 0; list && i < list->count(); ++i) {
                const QByteArray native = list->item(i)->data(Qt::UserRole).toByteArray();
                input.sources << folder + (native.isEmpty()
                                               ? QFile::encodeName(list->item(i)->text())
                                               : native);
            }
            input.photoFolder = doc_.photoFolder;
            input.recipe.settings = settings_;
            input.recipe.text1 = control<QLineEdit>(QStringLiteral("Text1"))->text();
            input.recipe.copy.autoOrient = loadOptions_.autoOrient;
            input.options = env_.store.readSaveAllOptions();
            input.remember = [this](const SaveAllOptions& o) { env_.store.writeSaveAllOptions(o); };
            return input;
        },
        this);
    command->setObjectName(QStringLiteral("saveAll"));
    auto* action = new QAction(QCoreApplication::translate("ui", "全部保存…"), this);
    action->setObjectName(QStringLiteral("saveAllAction"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, command, &SaveAllCommand::run);
    if (auto* list = control<QListWidget>(QStringLiteral("List1"))) {
        auto* menu = new QMenu(list);
        menu->setObjectName(QStringLiteral("List1Menu"));
        menu->addAction(action);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, menu,
                [list, menu](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    }
}

}  // namespace orvello
