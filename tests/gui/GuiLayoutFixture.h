#pragma once

// What the GUI layout tests share: a test folder, layouts loaded from it or
// from the fixtures, and a seeded fuzz run of the layout readers.

#include "gui/GuiFixtures.h"
#include "gui/GuiManagerTestSupport.h"

#include "core/io/ArchiveTestUtil.h"

#include "support/TestFolder.h"

#include <chrono>
#include <random>
#include <string>
#include <vector>

class CGuiLayoutFixture : public CGuiManagerFixture
{
protected:
    // The lines that open a text layout of the version.
    static std::string Header(int version)
    {
        return "KVOGUI\r\nVersion{\r\n\t-Version " + std::to_string(version) + "\r\n}\r\n";
    }

    // The fixture copied into the test folder; its path.
    std::wstring Fixture(const std::string& name)
    {
        const std::string bytes = GuiTest::Fixture(name);
        EXPECT_FALSE(bytes.empty()) << name;
        folder.Write(name, bytes);
        return folder.Wide(name);
    }

    // Loads the layout, which must raise no error; what the load returned.
    bool Load(const std::wstring& path)
    {
        bool result = false;
        const std::wstring error = ErrorOf([&] { result = gui.Load(path); });
        EXPECT_EQ(error, L"");
        return result;
    }

    // Writes the layout and loads it; the error's message, or "" when the
    // load raised none. What the load returned is left in loaded.
    std::wstring LoadText(const std::string& text, const std::string& name = "gui.kvogui")
    {
        folder.Write(name, text);
        return ErrorOf([&] { loaded = gui.Load(folder.Wide(name)); });
    }

    // One to four random changes: a byte replaced, bytes cut, a run of one
    // character put in, or a piece of the layout repeated elsewhere.
    static void Mutate(std::string& bytes, std::mt19937& random)
    {
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes && !bytes.empty(); ++i)
        {
            // Bytes the readers treat specially: digits, signs, blanks,
            // block ends, quotes, NUL and a byte that is no ASCII.
            static constexpr char kPieces[] = {'0', '9', '-', ' ', '{', '}', '"', '\n', 'x', '\0', '\xff'};
            const size_t at = random() % bytes.size();
            switch (random() % 7)
            {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.erase(at, 1 + random() % 8);
                break;
            case 2:
                bytes.insert(at, std::string(1 + random() % 4, static_cast<char>(random() % 128)));
                break;
            case 3:
                bytes[at] = kPieces[random() % sizeof(kPieces)];
                break;
            case 4:
                bytes.insert(at, std::to_string(static_cast<int32_t>(random())));
                break;
            case 5:
                bytes.resize(at);
                break;
            default:
                bytes.insert(at, bytes.substr(random() % bytes.size(), random() % 64));
                break;
            }
        }
    }

    // Loads mutants of the seeds, taken in turn, at least minimumRuns times
    // and then until the budget is spent; the GUI is cleared every
    // clearEvery loads. Each load ends, with a result or an error, and
    // leaves the GUI parent at the root. The number of loads.
    size_t FuzzLoads(const std::vector<std::string>& seeds, uint32_t seed, std::chrono::milliseconds budget,
                     size_t minimumRuns, size_t clearEvery)
    {
        EXPECT_FALSE(seeds.empty());
        if (seeds.empty())
            return 0;
        std::mt19937 random(seed);
        const auto deadline = std::chrono::steady_clock::now() + budget;
        size_t runs = 0;
        while (runs < minimumRuns || std::chrono::steady_clock::now() < deadline)
        {
            std::string bytes = seeds[runs % seeds.size()];
            Mutate(bytes, random);
            folder.Write("fuzz", bytes);
            ErrorOf([&] { gui.Load(folder.Wide("fuzz")); });
            EXPECT_EQ(gui.GetGuiParent(), root()) << "mutant " << runs << " of seed " << runs % seeds.size();
            ++runs;
            if (runs % clearEvery == 0)
                gui.Clear();
        }
        return runs;
    }

    CTestFolder folder;
    bool loaded = false;
};
