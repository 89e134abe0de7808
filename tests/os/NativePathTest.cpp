#include "os/NativePath.h"
#include "os/RegularFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

using namespace vorlo;

namespace {

TEST(NativePath, EveryByteStringComesBackAsItWas) {
    const std::vector<QByteArray> samples{
        "plain.mid",
        "caf\xe9.mid",                // Latin-1
        "caf\xc3\xa9.mid",            // the same name in UTF-8
        "\xf0\x9f\x8e\xb5 note.mid",  // four bytes, a surrogate pair in the QString
        "\xed\xa0\x80 surrogate",     // an encoded surrogate is no UTF-8
        "\xc0\xaf overlong",          // an overlong slash
        "\xf4\x90\x80\x80 beyond",    // above U+10FFFF
        "cut \xe2\x82",               // a sequence cut short at the end
        "\x80\xbf lone continuations\xff",
        "\xf0\x90\x82\x80 pair ending in DC80",  // U+10080: its low surrogate is U+DC80, as an escaped 0x80 would be
    };
    for (const QByteArray& bytes : samples) EXPECT_EQ(encodePath(decodePath(bytes)), bytes) << bytes.toHex().data();
    // Valid UTF-8 reads as Qt reads it; a byte that is none is one character standing for it.
    EXPECT_EQ(decodePath("caf\xc3\xa9.mid"), QString::fromUtf8("caf\xc3\xa9.mid"));
    EXPECT_EQ(decodePath("caf\xe9.mid").size(), 8);
    EXPECT_NE(decodePath("caf\xe9.mid"), decodePath("caf\xc3\xa9.mid"));

    std::mt19937 random(19);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 12), '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 2 ? 0x80 + random() % 0x80 : random() % 0x100);
        ASSERT_EQ(encodePath(decodePath(bytes)), bytes) << bytes.toHex().data();
    }
}

// Qt's own conversion would name another file (with U+FFFD's bytes) or none.
TEST(NativePath, AFileWhoseNameIsNoUtf8IsFoundAndReadByItsDecodedName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray raw = encodePath(dir.path()) + "/caf\xe9.mpl";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "x\r\n", 3), 3);
    ::close(fd);
    const QString path = decodePath(raw);
    EXPECT_TRUE(pathExists(path));
    EXPECT_FALSE(QFile::exists(path));  // what the player did before: the file was "missing"
    const FileHead head = readFileHead(path);
    EXPECT_TRUE(head.error.isEmpty()) << qPrintable(head.error);
    EXPECT_EQ(head.bytes, "x\r\n");
    ::unlink(raw.constData());  // no QString that Qt converts can name it, so QTemporaryDir could not remove it
}

TEST(RegularFile, AFifoAFolderOrADeviceIsRefusedWithoutWaitingAndTheHeadIsCapped) {
    ::alarm(60);  // a read that blocks ends the test run with a failure instead of hanging it
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("History.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& special : {fifo, dir.path(), QStringLiteral("/dev/zero")})
        EXPECT_EQ(readFileHead(special).error, "it is not a regular file.") << qPrintable(special);
    EXPECT_FALSE(readFileHead(dir.filePath("missing")).error.isEmpty());

    QFile file(dir.filePath("long"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(10000, 'a'));
    file.close();
    FileHead head = readFileHead(file.fileName(), 100);
    EXPECT_EQ(head.bytes.size(), 100);
    EXPECT_TRUE(head.cut);
    head = readFileHead(file.fileName(), 10000);
    EXPECT_EQ(head.bytes.size(), 10000);
    EXPECT_FALSE(head.cut);
    EXPECT_EQ(readFileHead(file.fileName()).bytes.size(), 10000);
    ::alarm(0);
}

}  // namespace
