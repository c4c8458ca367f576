#include "runs/session_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "reports/interactive_log.h"
#include "runs/output_point_file.h"
#include "support/temp_dir.h"

// A log that cannot be set aside or opened means no log, and loses nothing.
TEST(SessionLog, WithoutAWritableFolderThereIsNoLogAndNothingIsLost) {
    TempDir folder;
    Out_Fic log;
    EXPECT_FALSE(OpenSessionLog(log, folder.File("absent") + "/"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(folder.File("absent")));

    // The predecessor's name taken by a folder: the old entries stay in log.txt.
    std::filesystem::create_directory(folder.File(kPreviousInteractiveLogName));
    folder.Write(kInteractiveLogName, "entrées d'hier\r\n");
    EXPECT_FALSE(OpenSessionLog(log, folder.path() + "/"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ("entrées d'hier\r\n", TempDir::Read(folder.File(kInteractiveLogName)));

    // Written and set aside at the next session.
    std::filesystem::remove(folder.File(kPreviousInteractiveLogName));
    ASSERT_TRUE(OpenSessionLog(log, folder.path() + "/"));
    log.Write("session\n");
    ASSERT_TRUE(log.Close());
    ASSERT_TRUE(OpenSessionLog(log, folder.path() + "/"));
    EXPECT_EQ("session\r\n", TempDir::Read(folder.File(kPreviousInteractiveLogName)));
    EXPECT_EQ("", TempDir::Read(folder.File(kInteractiveLogName)));
}
