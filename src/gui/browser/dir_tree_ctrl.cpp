#include "gui/browser/dir_tree_ctrl.h"

#include <QDir>
#include <QHeaderView>

#include <algorithm>

namespace talvex::gui {
namespace {

constexpr int kPathRole = Qt::UserRole;

// The child that makes a folder show as expandable before its subfolders are read.
void AddPlaceholder(QTreeWidgetItem* item) {
    item->addChild(new QTreeWidgetItem());
}

QStringList SortedSubfolders(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

} // namespace

CDirTreeCtrl::CDirTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &CDirTreeCtrl::Expand);
    connect(this, &QTreeWidget::itemCollapsed, this, &CDirTreeCtrl::Collapse);
}

void CDirTreeCtrl::ShowDrives() {
    clear();
    for (const QFileInfo& drive : QDir::drives())
        AddFolderItem(nullptr, QDir::toNativeSeparators(drive.absoluteFilePath()), drive.absoluteFilePath());
}

void CDirTreeCtrl::ShowFolder(const QString& folder) {
    clear();
    const QString path = QDir::cleanPath(folder);
    ExpandFolder(AddFolderItem(nullptr, QDir::toNativeSeparators(path), path));
}

void CDirTreeCtrl::ExpandFolder(QTreeWidgetItem* item) {
    expandItem(item);
    // With the tree's signals blocked nothing has read the subfolders yet.
    if (item->childCount() == 1 && ItemPath(item->child(0)).isEmpty())
        Expand(item);
}

QTreeWidgetItem* CDirTreeCtrl::AddFolderItem(QTreeWidgetItem* parent, const QString& text,
                                             const QString& path) {
    auto* item = new QTreeWidgetItem({text});
    item->setData(0, kPathRole, path);
    item->setIcon(0, icons_.icon(QFileInfo(path)));
    AddPlaceholder(item);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

void CDirTreeCtrl::Expand(QTreeWidgetItem* item) {
    qDeleteAll(item->takeChildren());
    const QString folder = ItemPath(item);
    for (const QString& name : SortedSubfolders(folder))
        AddFolderItem(item, name, QDir(folder).filePath(name));
}

void CDirTreeCtrl::Collapse(QTreeWidgetItem* item) {
    // The current item may sit below; it moves up to the collapsed folder rather than dangling.
    if (QTreeWidgetItem* current = currentItem(); current && current != item) {
        for (QTreeWidgetItem* p = current->parent(); p; p = p->parent())
            if (p == item) {
                setCurrentItem(item);
                break;
            }
    }
    qDeleteAll(item->takeChildren());
    AddPlaceholder(item);
}

bool CDirTreeCtrl::SelectPath(const QString& path) {
    const QString wanted = QDir::cleanPath(path);
    if (path.isEmpty())
        return false;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        const QString root = ItemPath(item);
        const QString relative = QDir(root).relativeFilePath(wanted);
        if (relative == QLatin1String(".")) {
            setCurrentItem(item);
            return true;
        }
        if (relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative))
            continue;
        for (const QString& name : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            ExpandFolder(item);
            QTreeWidgetItem* next = nullptr;
            for (int k = 0; k < item->childCount() && !next; ++k)
                if (item->child(k)->text(0) == name)
                    next = item->child(k);
            if (!next)
                return false;
            item = next;
        }
        setCurrentItem(item);
        scrollToItem(item);
        return true;
    }
    return false;
}

QString CDirTreeCtrl::ItemPath(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

} // namespace talvex::gui
