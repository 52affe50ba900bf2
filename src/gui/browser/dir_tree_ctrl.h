#pragma once

#include <QFileIconProvider>
#include <QTreeWidget>

namespace talvex::gui {

// A tree of folders only, with the desktop's folder icons, read from the disk as the operator expands
// it: every folder shows as expandable until it is opened, then lists its subfolders sorted by name
// regardless of letter case; collapsing forgets them again. Hidden folders are not shown.
class CDirTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CDirTreeCtrl(QWidget* parent = nullptr);

    // The roots of the file system as the only roots.
    void ShowDrives();
    // One folder as the only root, expanded.
    void ShowFolder(const QString& folder);

    // Expands the tree along `path` and makes its item the current one; false (and the current item
    // unchanged) when the path lies outside the roots or a folder on the way is missing.
    bool SelectPath(const QString& path);

    // The full path of an item; empty for none.
    static QString ItemPath(const QTreeWidgetItem* item);
    QString CurrentPath() const { return ItemPath(currentItem()); }

private:
    QTreeWidgetItem* AddFolderItem(QTreeWidgetItem* parent, const QString& text, const QString& path);
    // Expands an item and makes sure its subfolders have been read.
    void ExpandFolder(QTreeWidgetItem* item);
    void Expand(QTreeWidgetItem* item);
    void Collapse(QTreeWidgetItem* item);

    QFileIconProvider icons_;
};

} // namespace talvex::gui
