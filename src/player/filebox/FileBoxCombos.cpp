#include "player/filebox/FileBoxCombos.h"

#include "core/filebox/FileFilters.h"
#include "os/Drives.h"

#include <QStyle>

namespace vorlo {

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent), source_(&Drives::logicalDrives) {
    setObjectName(QStringLiteral("DriveComboBox"));
    setToolTip(QString::fromLatin1(Hint));
    connect(this, &QComboBox::activated, this, [this](int index) { emit driveChanged(itemText(index)); });
    refresh();
}

void DriveComboBox::setDriveSource(std::function<QStringList()> source) {
    source_ = std::move(source);
    refresh();
}

void DriveComboBox::refresh() {
    const QString selected = drive();
    QStringList roots = source_ ? source_() : QStringList();
    if (!roots.contains(QStringLiteral("/")))
        roots.prepend(QStringLiteral("/"));  // the root is always there to go back to
    const QSignalBlocker quiet(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& root : roots) addItem(icon, root);
    const int keep = findText(selected);
    setCurrentIndex(keep >= 0 ? keep : 0);
}

QStringList DriveComboBox::drives() const {
    QStringList roots;
    for (int i = 0; i < count(); ++i) roots.append(itemText(i));
    return roots;
}

QString DriveComboBox::selectDriveOf(const QString& folder) {
    const QString root = Drives::driveOf(folder, drives());
    const QSignalBlocker quiet(this);
    setCurrentIndex(std::max(0, findText(root)));
    return drive();
}

FilterComboBox::FilterComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("FilterComboBox"));
    setToolTip(QString::fromLatin1(Hint));
    for (int i = 0; i < FileFilters::Count; ++i) addItem(QString::fromLatin1(FileFilters::entry(i).text));
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &FilterComboBox::filterChanged);
}

bool FilterComboBox::setFilterIndex(int index) {
    if (!FileFilters::isValidIndex(index)) return false;
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
    return true;
}

QString FilterComboBox::mask() const { return QString::fromLatin1(FileFilters::entry(filterIndex()).mask); }

}  // namespace vorlo
