#include "session_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct field_case {
    std::array<unsigned char, 8> bytes;  // bytes 90 to 97
    window_fields expected;
};

void PrintTo(const field_case &value, std::ostream *stream)
{
    *stream << value.expected.location_x << "," << value.expected.location_y << " "
            << value.expected.size_width << "," << value.expected.size_height;
}

class WindowFieldsTest : public testing::TestWithParam<field_case> {};

TEST_P(WindowFieldsTest, ReadsSignedLittleEndianValues)
{
    std::vector<unsigned char> content(MINIMUM_SESSION_FILE_SIZE, 0xAA);
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(), content.begin() + 90);
    const window_fields fields = read_window_fields(content.data());
    EXPECT_EQ(fields.location_x, GetParam().expected.location_x);
    EXPECT_EQ(fields.location_y, GetParam().expected.location_y);
    EXPECT_EQ(fields.size_width, GetParam().expected.size_width);
    EXPECT_EQ(fields.size_height, GetParam().expected.size_height);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WindowFieldsTest,
    testing::Values(
        field_case{{0x9C, 0xFF, 0x38, 0xFF, 0x20, 0x03, 0x58, 0x02}, {-100, -200, 800, 600}},
        field_case{{0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00}, {-1, 32767, -32768, 0}},
        field_case{{0x14, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x01}, {20, 20, 1, 256}}));

TEST(SetFixedLocation, WritesTwentyIntoLocationOnly)
{
    std::vector<unsigned char> content(120);
    for (std::size_t index = 0; index < content.size(); ++index)
        content[index] = static_cast<unsigned char>(index * 7 + 3);
    std::vector<unsigned char> expected = content;
    expected[90] = 0x14;
    expected[91] = 0x00;
    expected[92] = 0x14;
    expected[93] = 0x00;

    set_fixed_location(content.data());
    EXPECT_EQ(content, expected);
}

// Entries that are not regular files must be refused at once, without reading or writing:
// a FIFO would block the run and a device would be written to.
class NotAFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/setwin-unit-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        work_buffer_.reset(static_cast<unsigned char *>(std::malloc(WORK_BUFFER_SIZE)));
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + directory_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string directory_;
    std::unique_ptr<unsigned char, decltype(&std::free)> work_buffer_{nullptr, &std::free};
};

TEST_F(NotAFileTest, FifoWithoutWriterIsSkippedWithoutBlocking)
{
    const std::string fifo = directory_ + "/pipe.ws";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(fix_session_file(fifo.c_str(), work_buffer_.get()), fix_outcome::not_a_file);
}

TEST_F(NotAFileTest, LinkToDeviceIsSkipped)
{
    const std::string link = directory_ + "/zero.ws";
    ASSERT_EQ(symlink("/dev/zero", link.c_str()), 0);
    EXPECT_EQ(fix_session_file(link.c_str(), work_buffer_.get()), fix_outcome::not_a_file);
}

TEST_F(NotAFileTest, DirectoryIsSkipped)
{
    EXPECT_EQ(fix_session_file(directory_.c_str(), work_buffer_.get()), fix_outcome::not_a_file);
}

}  // namespace
