// Reading one key from the terminal: at once -1 without a terminal; on a
// pseudo-terminal the key's byte, raw and unechoed, with the terminal's
// mode restored afterwards.
#include "platform/Terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

class CPseudoTerminal
{
public:
    CPseudoTerminal()
    {
        if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            m_master = m_slave = -1;
    }
    ~CPseudoTerminal()
    {
        CloseMaster();
        if (m_slave >= 0)
            close(m_slave);
    }
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    int Slave() const { return m_slave; }
    void Type(const std::string& bytes) const
    {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Whether the terminal sent anything back (an echo) within a moment.
    bool HasOutput() const
    {
        pollfd entry{m_master, POLLIN, 0};
        return poll(&entry, 1, 100) > 0;
    }
    void CloseMaster()
    {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

    termios Mode() const
    {
        termios mode{};
        tcgetattr(m_slave, &mode);
        return mode;
    }
    // Waits until the reader has switched echo and line editing off.
    bool WaitForRawMode() const
    {
        for (int i = 0; i < 10000; ++i)
        {
            if ((Mode().c_lflag & (ICANON | ECHO)) == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

private:
    int m_master = -1;
    int m_slave = -1;
};

bool SameMode(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// The reader's result, or -2 when it still waits after a long while (the
// terminal is then closed so the reader ends).
int32_t Result(std::future<int32_t>& reader, CPseudoTerminal& terminal)
{
    if (reader.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
    {
        terminal.CloseMaster();
        reader.wait();
        return -2;
    }
    return reader.get();
}

} // namespace

TEST(TerminalTest, WithoutATerminalReturnsMinusOneAtOnce)
{
    const int null = open("/dev/null", O_RDONLY);
    ASSERT_GE(null, 0);
    EXPECT_EQ(Platform::ReadKeyFromTerminal(null), -1);

    // Standard input from /dev/null, as under a service or a pipe.
    const int savedInput = dup(0);
    ASSERT_GE(savedInput, 0);
    ASSERT_EQ(dup2(null, 0), 0);
    const int32_t fromStandardInput = Platform::ReadKeyFromTerminal();
    dup2(savedInput, 0);
    close(savedInput);
    close(null);
    EXPECT_EQ(fromStandardInput, -1);

    // A pipe with a byte waiting is no terminal either; the byte stays.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    ASSERT_EQ(write(pipeEnds[1], "k", 1), 1);
    EXPECT_EQ(Platform::ReadKeyFromTerminal(pipeEnds[0]), -1);
    char byte = 0;
    EXPECT_EQ(read(pipeEnds[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'k');
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    EXPECT_EQ(Platform::ReadKeyFromTerminal(-1), -1);
}

TEST(TerminalTest, ReadsOneKeyRawWithoutEchoAndRestoresTheMode)
{
    struct SCase
    {
        const char* name;
        std::string typed;
        std::vector<int32_t> keys; // one read per entry
    };
    const std::vector<SCase> cases = {
        {"letter", "x", {'x'}},
        {"enter is a carriage return", "\r", {13}},
        {"ctrl+c is a key, not a signal", "\x03", {3}},
        {"ctrl+z and ctrl+s", "\x1a\x13", {26, 19}},
        {"escape", "\x1b", {27}},
        {"backspace is not line editing", "a\x7f", {'a', 127}},
        {"utf-8 bytes one per call", "\xC3\xA9", {0xC3, 0xA9}},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        CPseudoTerminal terminal;
        ASSERT_TRUE(terminal.IsOpen());
        const termios before = terminal.Mode();
        ASSERT_NE(before.c_lflag & ICANON, 0u);

        std::vector<int32_t> keys;
        for (size_t i = 0; i < test.keys.size(); ++i)
        {
            std::future<int32_t> reader = std::async(
                std::launch::async, [&] { return Platform::ReadKeyFromTerminal(terminal.Slave()); });
            if (i == 0)
            {
                ASSERT_TRUE(terminal.WaitForRawMode());
                terminal.Type(test.typed);
            }
            keys.push_back(Result(reader, terminal));
            EXPECT_TRUE(SameMode(terminal.Mode(), before));
        }
        EXPECT_EQ(keys, test.keys);
        EXPECT_FALSE(terminal.HasOutput());
    }
}

TEST(TerminalTest, KeysTypedAheadAreReadFirst)
{
    CPseudoTerminal terminal;
    ASSERT_TRUE(terminal.IsOpen());
    const termios before = terminal.Mode();
    terminal.Type("qw");
    EXPECT_EQ(Platform::ReadKeyFromTerminal(terminal.Slave()), 'q');
    EXPECT_EQ(Platform::ReadKeyFromTerminal(terminal.Slave()), 'w');
    EXPECT_TRUE(SameMode(terminal.Mode(), before));
}

TEST(TerminalTest, ClosedTerminalEndsTheWaitWithMinusOne)
{
    CPseudoTerminal terminal;
    ASSERT_TRUE(terminal.IsOpen());
    std::future<int32_t> reader =
        std::async(std::launch::async, [&] { return Platform::ReadKeyFromTerminal(terminal.Slave()); });
    ASSERT_TRUE(terminal.WaitForRawMode());
    terminal.CloseMaster();
    EXPECT_EQ(Result(reader, terminal), -1);
}
