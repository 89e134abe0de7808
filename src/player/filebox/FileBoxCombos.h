#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

#include <functional>

namespace vorlo {

// The drive combo: every mounted file system that can hold the user's files, "/" first.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr const char* Hint = "Select Drive";

    explicit DriveComboBox(QWidget* parent = nullptr);

    // Where the drives come from: the mount table unless replaced.
    void setDriveSource(std::function<QStringList()> source);
    // Reads the drives again; the selected drive stays when it is still there, else "/" is selected.
    void refresh();
    QStringList drives() const;

    // Selects the drive holding `folder`; returns that drive.
    QString selectDriveOf(const QString& folder);
    QString drive() const { return currentText(); }

signals:
    // The user picked another drive.
    void driveChanged(const QString& root);

private:
    std::function<QStringList()> source_;
};

// The file type filter: its eight entries, each giving the file list a mask.
class FilterComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr const char* Hint = "Select File Type";

    explicit FilterComboBox(QWidget* parent = nullptr);

    // Ignores an index outside the entries and returns false for it.
    bool setFilterIndex(int index);
    int filterIndex() const { return currentIndex(); }
    QString mask() const;

signals:
    // The user picked an entry.
    void filterChanged(int index);
};

}  // namespace vorlo
