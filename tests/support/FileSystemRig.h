#pragma once

#include <QString>

#include <sys/types.h>
#include <optional>

namespace vorlo::test {

// Makes an empty file at `path`, and the folders on the way to it; false when it cannot.
bool touchFile(const QString& path);

// Takes away the write permission of a folder the test made, for the life of the scope. The superuser may write
// anywhere, so a test running as root also takes on an ordinary user's identity meanwhile (the folders on the way
// to `folder`, up to `openFrom`, are opened for reading and walking so that user still reaches the files).
class UnwritableFolder {
public:
    UnwritableFolder(const QString& folder, const QString& openFrom);
    ~UnwritableFolder();
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

private:
    QString folder_;
    bool changedIdentity_ = false;
};

// A small file system of its own (a tmpfs of `kibibytes`) mounted on a folder the test made, for tests that move
// files between file systems or fill a disk. Mounting needs the superuser; where it is refused, available() is
// false and reason() says why (the test skips with it).
class SecondFileSystem {
public:
    SecondFileSystem(const QString& mountPoint, int kibibytes);
    ~SecondFileSystem();
    SecondFileSystem(const SecondFileSystem&) = delete;
    SecondFileSystem& operator=(const SecondFileSystem&) = delete;

    bool available() const { return mounted_; }
    QString reason() const { return reason_; }

private:
    QString mountPoint_;
    bool mounted_ = false;
    QString reason_;
};

// Limits the size of any file this process writes, for the life of the scope: a write beyond it fails as on a
// full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long oldSoft_ = 0;
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace vorlo::test
