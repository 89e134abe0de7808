#include "setup/TFormDir.h"

#include "setup/CentreOnScreen.h"
#include "setup/SetupSteps.h"
#include "setup/TFormTitle.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace vorlo {

namespace {

// The places a program folder can go: the home folder first (the default's place), then every mounted file
// system that is a real, writable one (no pseudo file systems, no read-only media).
QStringList drives() {
    QStringList roots{QDir::homePath()};
    static const QStringList pseudo{QStringLiteral("proc"),     QStringLiteral("sysfs"),    QStringLiteral("devpts"),
                                    QStringLiteral("cgroup"),   QStringLiteral("cgroup2"),  QStringLiteral("overlay"),
                                    QStringLiteral("squashfs"), QStringLiteral("devtmpfs"), QStringLiteral("mqueue")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly()) continue;
        if (pseudo.contains(QString::fromLatin1(volume.fileSystemType()))) continue;
        const QString root = volume.rootPath();
        if (root.startsWith(QStringLiteral("/proc")) || root.startsWith(QStringLiteral("/sys")) ||
            root.startsWith(QStringLiteral("/dev")) || root.startsWith(QStringLiteral("/run")))
            continue;
        if (!roots.contains(root)) roots << root;
    }
    return roots;
}

}  // namespace

TFormDir::TFormDir(SetupSteps& steps, QString sourceFolder, QWidget* parent)
    : QDialog(parent), steps_(steps), source_(std::move(sourceFolder)) {
    setObjectName(QStringLiteral("FormDir"));
    setWindowTitle(QStringLiteral("Create Program Files Folder"));
    setFixedSize(425, 249);
    centreOnScreen(*this);

    auto* editLabel = new QLabel(QStringLiteral("&Install to this directory:"), this);
    editLabel->setGeometry(8, 8, 200, 16);
    dirEdit_ = new QLineEdit(this);
    dirEdit_->setObjectName(QStringLiteral("DirEdit"));
    dirEdit_->setGeometry(8, 26, 409, 22);
    editLabel->setBuddy(dirEdit_);

    auto* listLabel = new QLabel(QStringLiteral("&Directory:"), this);
    listLabel->setGeometry(8, 54, 200, 16);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    directoryList_ = new QTreeView(this);
    directoryList_->setObjectName(QStringLiteral("DirectoryListBox"));
    directoryList_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) directoryList_->hideColumn(column);
    directoryList_->header()->hide();
    directoryList_->setGeometry(8, 72, 200, 132);
    listLabel->setBuddy(directoryList_);

    auto* driveLabel = new QLabel(QStringLiteral("Dri&ve:"), this);
    driveLabel->setGeometry(8, 210, 40, 16);
    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveComboBox"));
    drives_->addItems(drives());
    drives_->setGeometry(52, 208, 156, 22);
    driveLabel->setBuddy(drives_);

    auto* text1 = new QLabel(QStringLiteral("If you want to install MIDI Vorlo to the default target directory, simply "
                                            "click 'Continue' button or press Enter to proceed."),
                             this);
    text1->setWordWrap(true);
    text1->setGeometry(216, 56, 200, 60);
    auto* text2 =
        new QLabel(QStringLiteral("If you want to install MIDI Vorlo to a different directory, you can change "
                                  "path in drive and directory box, then type a name to specify the new "
                                  "directory you want to create."),
                   this);
    text2->setWordWrap(true);
    text2->setGeometry(216, 116, 200, 80);

    auto* cont = new QPushButton(QStringLiteral("&Continue"), this);
    cont->setObjectName(QStringLiteral("ButDirCont"));
    cont->setDefault(true);
    cont->setGeometry(240, 212, 80, 28);
    auto* quit = new QPushButton(QStringLiteral("&Quit"), this);
    quit->setObjectName(QStringLiteral("ButDirQuit"));
    quit->setGeometry(330, 212, 80, 28);
    quit_ = quit;

    connect(drives_, &QComboBox::currentIndexChanged, this, &TFormDir::driveChanged);
    connect(directoryList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { selectFolder(model_->filePath(index)); });
    connect(cont, &QPushButton::clicked, this, &TFormDir::continueClicked);
    connect(quit, &QPushButton::clicked, this, [] { TFormTitle::endApplication(0); });

    driveChanged(0);
    dirEdit_->setFocus();
}

void TFormDir::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        quit_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormDir::driveChanged(int index) {
    const QString root = drives_->itemText(index);
    directoryList_->setRootIndex(model_->setRootPath(root));
    selectFolder(root);
}

void TFormDir::selectFolder(const QString& folder) {
    // The place chosen in the drive box is this desktop's drive root: the program folder goes inside it.
    QString chosen = folder;
    const QString root = drives_->currentText();
    if (QDir::cleanPath(chosen) == QDir::cleanPath(root) && !chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    dirEdit_->setText(SetupSteps::folderForSelection(chosen));
}

void TFormDir::continueClicked() {
    const QString folder = dirEdit_->text().trimmed();
    if (folder.isEmpty()) return;
    if (steps_.copyFiles(source_, QDir::isRelativePath(folder) ? QDir::home().absoluteFilePath(folder) : folder) ==
        SetupSteps::Result::EndApplication) {
        TFormTitle::endApplication(1);
        return;
    }
    programFolder_ = steps_.programFolder();
    accept();
}

}  // namespace vorlo
