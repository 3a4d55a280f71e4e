#include "delete/folderlistbox.h"

#include "components/slotguard.h"
#include "core/helpers.h"
#include "platform/drives.h"
#include "platform/fileops.h"
#include "platform/findfile.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

namespace del {

namespace {

// "C:\a\b\" -> "C:\a\b"; a root keeps its backslash ("C:" -> "C:\").
QString normalFolder(QString folder)
{
    while (folder.size() > 3 && folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
    if (folder.size() == 2 && folder.at(1) == QLatin1Char(':'))
        folder += QLatin1Char('\\');
    return folder;
}

QStringList subFolders(const QString& folder)
{
    QStringList names;
    plat::FolderEnum e;
    plat::FindData f;
    // Folders only; no hidden ones and never a link.
    const quint32 mask = plat::faDirectory | plat::faReadOnly | plat::faArchive;
    for (bool more = e.findFirst(core::JoinPath(folder, QStringLiteral("*.*")), mask, f); more;
         more = e.findNext(f)) {
        if ((f.attributes & plat::faDirectory) && !(f.attributes & plat::faReparse) && f.name != QLatin1String(".")
            && f.name != QLatin1String(".."))
            names << f.name;
    }
    e.close();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

}  // namespace

FolderListBox::FolderListBox(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        comp::guardSlot([&] {
            const QString path = pathOf(item);
            if (!path.isEmpty() && path != directory_)
                setDirectory(path);
        });
    });
}

QString FolderListBox::pathOf(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void FolderListBox::setDirectory(const QString& folder)
{
    const QString f = normalFolder(folder);
    if (!plat::folderExists(f))
        throw plat::IoError(("The folder " + f + " cannot be opened.").toStdString());
    directory_ = f;
    fill();
    emit directoryChanged(directory_);
}

void FolderListBox::refresh()
{
    if (!directory_.isEmpty())
        fill();
}

void FolderListBox::fill()
{
    clear();
    const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The way down from the drive root, each line indented one step more.
    QString path = directory_.left(3);
    const QStringList parts = directory_.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    int level = 0;
    auto add = [&](const QString& text, const QString& itemPath, const QIcon& icon, int indent) {
        auto* item = new QListWidgetItem(icon, QString(indent * 3, QLatin1Char(' ')) + text, this);
        item->setData(Qt::UserRole, itemPath);
        return item;
    };
    QListWidgetItem* current = add(path, path, open, level++);
    for (const QString& part : parts) {
        path = core::JoinPath(path, part);
        current = add(part, path, open, level++);
    }
    for (const QString& name : subFolders(directory_))
        add(name, core::JoinPath(directory_, name), closed, level);
    setCurrentItem(current);
}

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent)
{
    fillDrives();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!quiet_ && index >= 0)
            emit driveChosen(itemData(index).toString());
    });
}

void DriveComboBox::fillDrives()
{
    quiet_ = true;
    clear();
    for (const plat::Drive& d : plat::drives()) {
        const QString text = QString(d.letter.toLower()) + QStringLiteral(": [") + d.label + QLatin1Char(']');
        addItem(text, plat::driveRoot(d.letter));
    }
    quiet_ = false;
}

void DriveComboBox::showDriveOf(const QString& drivePath)
{
    if (drivePath.isEmpty())
        return;
    quiet_ = true;
    setCurrentIndex(findData(plat::driveRoot(drivePath.at(0).toUpper())));
    quiet_ = false;
}

}  // namespace del
