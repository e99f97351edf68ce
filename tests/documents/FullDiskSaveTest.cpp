// Saving a board on a disk that is full, on a small file system of its own: the old board is
// intact after the failed save and the message says that the disk is full. Mounting needs
// root; without it the test is skipped.

#include "app/documents/DocumentFile.h"
#include "app/documents/KistError.h"
#include "tests/documents/KistTestSupport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Wires enough to need more than one page of the file system.
BoardDocument LargeBoard() {
    BoardDocument board;
    for (int i = 0; i < 300; ++i) {
        board.wires.push_back(
            {"Drukknop 1 Uit Geel", "LED " + std::to_string(i % 4 + 1) + " Ingang"});
    }
    return board;
}

BoardDocument SmallBoard() {
    BoardDocument board;
    board.wires = {{"Drukknop 1 Uit Geel", "LED 1 Ingang"}};
    return board;
}

// 0 when saving `path` failed with a message that names it and says the disk is full.
int SaveFailsAsFull(const std::string& path) {
    try {
        DocumentFile::Save(LargeBoard(), path);
        return 1;
    } catch (const KistError& e) {
        const std::string text = e.what();
        return text.find(path) != std::string::npos &&
                       text.find("kan niet worden bewaard: de schijf is vol") != std::string::npos
                   ? 0
                   : 2;
    }
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "only root may mount a file system";
        }
        fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
        if (::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
            GTEST_SKIP() << "no small file system can be mounted: " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) {
            ::umount2(folder_.Path().c_str(), MNT_DETACH);
        }
    }

    // Fills the file system to its last byte.
    void Fill() {
        const int fd = ::open(folder_.File("vol").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
    }

    TempFolder folder_;
    bool mounted_ = false;
};

TEST_F(FullDisk, AFailedSaveLeavesTheOldBoardAndSaysTheDiskIsFull) {
    // A shared class folder that takes no new files, holding a board its pupil may write; and
    // a folder of one's own.
    const std::string shared = folder_.File("klas");
    const std::string own = folder_.File("eigen");
    fs::create_directory(shared);
    fs::create_directory(own);
    const std::string sharedBoard = shared + "/bord.tvb";
    const std::string ownBoard = own + "/bord.tvb";
    DocumentFile::Save(SmallBoard(), sharedBoard);
    DocumentFile::Save(SmallBoard(), ownBoard);
    const Bytes old = ReadFileBytes(sharedBoard);
    fs::permissions(sharedBoard, fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::group_write |
                                     fs::perms::others_read | fs::perms::others_write);
    fs::permissions(shared, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    Fill();

    EXPECT_EQ(SaveFailsAsFull(ownBoard), 0) << "1: saved, 2: no full disk named";
    // The pupil may not write into the class folder: as root, the save runs as nobody.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(10);
        }
        ::_exit(SaveFailsAsFull(sharedBoard));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved, 2: no full disk named, 10: no user nobody";

    EXPECT_EQ(ReadFileBytes(sharedBoard), old);
    EXPECT_EQ(ReadFileBytes(ownBoard), old);
    EXPECT_EQ(DocumentFile::Load(sharedBoard), SmallBoard());
    EXPECT_EQ(std::distance(fs::directory_iterator(own), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}

} // namespace
