#include "core/foundation/Point.h"
#include "core/foundation/WideFormat.h"
#include "core/io/ArchiveText.h"
#include "core/io/DataBag.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace
{

// Makes a locale whose decimal point is a comma the test thread's locale.
// It is built from a definition of a few lines, so no installed locale is
// needed; without localedef the test is skipped.
class NumberLocale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.Write(
            "comma.def",
            "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"\"\ngrouping -1\nEND LC_NUMERIC\n");
        folder.Write("ascii.map", "<code_set_name> COMMA\n<mb_cur_max> 1\n<mb_cur_min> 1\nCHARMAP\n"
                                  "<U002C> \\x2c\n<U002E> \\x2e\nEND CHARMAP\n");
        // localedef warns about the categories the definition leaves out
        // (exit code 1) and writes the locale all the same.
        const std::string command = "localedef -c -i '" + (folder / "comma.def") + "' -f '" +
                                    (folder / "ascii.map") + "' '" + (folder / "comma") + "' >/dev/null 2>&1";
        (void)std::system(command.c_str());
        {
#if defined(__SANITIZE_ADDRESS__)
            // The C library keeps the search path it built from LOCPATH.
            __lsan::ScopedDisabler keptByTheLibrary;
#endif
            ::setenv("LOCPATH", folder.Path().c_str(), 1);
            m_comma = newlocale(LC_NUMERIC_MASK, "comma", static_cast<locale_t>(nullptr));
            ::unsetenv("LOCPATH");
        }
        if (!m_comma)
            GTEST_SKIP() << "no locale could be built";
        m_previous = uselocale(m_comma);
    }
    void TearDown() override
    {
        if (m_comma)
        {
            uselocale(m_previous);
            freelocale(m_comma);
        }
    }

    CTestFolder folder;
    locale_t m_comma = static_cast<locale_t>(nullptr);
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

TEST_F(NumberLocale, NumbersKeepTheirDecimalPointWhateverTheLocale)
{
    ASSERT_EQ(std::strtof("0.5", nullptr), 0.0f); // the locale took: "." ends the number

    EXPECT_EQ(Misc::Text::FormatWide(0, L"%.2f %g", 1.5, 0.25), L"1.50 0.25");

    CPoint point;
    point.FromString("0.5 0.25");
    EXPECT_EQ(point.ToString(), "0.500000 0.250000");

    CDataBag bag;
    bag.SetFloat(L"set", 1.5f);
    bag.Set(L"text", L"0.25");
    std::wstring text;
    float value = 0.0f;
    EXPECT_TRUE(bag.Get(L"set", text));
    EXPECT_EQ(text, L"1.5");
    EXPECT_TRUE(bag.GetFloat(L"text", value));
    EXPECT_EQ(value, 0.25f);

    using Misc::Serialization::CArchiveText;
    {
        CArchiveText out(folder.Wide("numbers.txt"), true, "KVONUMBERS", 1);
        EXPECT_TRUE(out.WriteFloat(0.25f, 2));
        EXPECT_TRUE(out.Close());
    }
    CArchiveText in(folder.Wide("numbers.txt"), false, "KVONUMBERS", 1);
    value = 0.0f;
    EXPECT_TRUE(in.ReadFloat(value));
    EXPECT_EQ(value, 0.25f);
}

} // namespace
