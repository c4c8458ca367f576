#include "runs/session_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "reports/interactive_log.h"
#include "runs/output_point_file.h"
#include "support/temp_dir.h"

// A log that cannot be opened, or set aside, means no log and loses nothing.
TEST(SessionLog, WithoutAWritableFolderThereIsNoLogAndNothingIsLost) {
    TempDir folder;
    Out_Fic log;
    EXPECT_FALSE(OpenSessionLog(log, folder.File("absent") + "/"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("absent")));
    // The predecessor's name taken by a folder: the entries stay in log.txt.
    std::filesystem::create_directory(folder.File(kPreviousInteractiveLogName));
    folder.Write(kInteractiveLogName, "entrées d'hier\r\n");
    EXPECT_FALSE(OpenSessionLog(log, folder.path() + "/"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ("entrées d'hier\r\n", TempDir::Read(folder.File(kInteractiveLogName)));
}
