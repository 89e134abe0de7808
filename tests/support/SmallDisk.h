#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vorlo::test {

// A small file system of the test's own (a tmpfs mounted in a temporary folder), to fill up for real. Mounting
// needs root; where it is refused, mounted() is false and reason() says why, and the test skips with it.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes = 256 * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString reason() const { return reason_; }
    QString path() const { return dir_.path(); }

    // Writes a filler file until the disk is full: from then on every new byte fails with ENOSPC.
    void fill();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

}  // namespace vorlo::test
