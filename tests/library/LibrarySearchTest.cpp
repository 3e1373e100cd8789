#include <gtest/gtest.h>

#include "library/LibraryFixture.h"

namespace dyno::testing {
namespace {

using Names = std::vector<std::string>;
using namespace std::chrono_literals;

class LibrarySearch : public LibraryFixture {
  protected:
    void SetUp() override {
        // Written on three days of 2023, each its own power (roller weight).
        const struct {
            const char* name;
            SessionTexts texts;
            const char* day;
        } sessions[] = {
            {"spring.zsd",
             {"Piaggio", "Zip 2T", "J\xFCrgen Hansen", "Main jet 82", 184},
             "2023-04-02"},
            {"summer.zsd", {"Piaggio", "Typhoon", "Anna Berg", "New variator", 250}, "2023-07-15"},
            {"autumn.zsd",
             {"Yamaha", "Aerox", "Anna Berg", "Sport exhaust 100%", 320},
             "2023-10-30"},
        };
        for (const auto& s : sessions) {
            const auto file = archives() / s.name;
            saveSession(file, s.texts);
            const auto noon = std::chrono::sys_seconds(
                std::chrono::seconds(*localDayStartNs(s.day) / 1'000'000'000) + 12h);
            setModified(file, std::chrono::file_clock::from_sys(noon));
        }
        saveSession(archives() / "k80" / "card.zsd", {"Piaggio", "Zip", "", "card dyno", 0, 2});
        scan();
    }
};

TEST_F(LibrarySearch, WordsMatchTheStartsOfWordsInTextsAndRemarks) {
    const struct {
        const char* words;
        Names expected;  // newest first
    } cases[] = {
        {"pia", {"card.zsd", "summer.zsd", "spring.zsd"}},
        {"jurgen", {"spring.zsd"}},  // the stored ü matches a plain u
        {"anna variator", {"summer.zsd"}},
        {"anna yamaha", {"autumn.zsd"}},
        {"exhaust", {"autumn.zsd"}},
        {"zip 2t", {"spring.zsd"}},
        {"\"100%\"", {"autumn.zsd"}},  // quotes and operators are only text
        {"berg OR hansen", {}},
        {"-", {"card.zsd", "autumn.zsd", "summer.zsd", "spring.zsd"}},
        {"vespa", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(namesFound(c.words), c.expected) << "words: " << c.words;
    }
}

TEST_F(LibrarySearch, FiltersNarrowAndPowerOrdersTheResults) {
    const auto query = [](auto change) {
        LibraryQuery q;
        change(q);
        return q;
    };
    const struct {
        const char* what;
        LibraryQuery query;
        Names expected;
    } cases[] = {
        {"make",
         query([](LibraryQuery& q) { q.make = "PIAG"; }),
         {"card.zsd", "summer.zsd", "spring.zsd"}},
        {"owner and words",
         query([](LibraryQuery& q) {
             q.owner = "anna";
             q.words = "piaggio";
         }),
         {"summer.zsd"}},
        {"a whole month",
         query([](LibraryQuery& q) {
             q.sinceNs = localDayStartNs("2023-07-01");
             q.untilNs = localDayStartNs("2023-07-31", 1);
         }),
         {"summer.zsd"}},
        {"until a day includes it",
         query([](LibraryQuery& q) { q.untilNs = localDayStartNs("2023-04-02", 1); }),
         {"spring.zsd"}},
        {"dyno model", query([](LibraryQuery& q) { q.dynoModel = 2; }), {"card.zsd"}},
        {"folder", query([](LibraryQuery& q) { q.folder = "/nowhere"; }), {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(namesFound(c.query), c.expected) << c.what;
    }

    // The K40 sessions grow with their roller weight; the K80's larger roller speed
    // puts it ahead of all of them.
    LibraryQuery byPower;
    byPower.order = LibraryOrder::mostPowerFirst;
    EXPECT_EQ(namesFound(byPower), (Names{"card.zsd", "autumn.zsd", "summer.zsd", "spring.zsd"}));

    LibraryIndex index(indexFile());
    LibraryQuery summer;
    summer.words = "variator";
    const auto found = index.search(summer);
    ASSERT_EQ(found.size(), 1u);
    LibraryQuery strong;
    strong.minPowerHp = found[0].maxPowerHp();
    strong.dynoModel = 0;
    EXPECT_EQ(namesFound(strong), (Names{"autumn.zsd", "summer.zsd"}));
}

TEST(LibraryDates, OnlyRealCalendarDaysAreDates) {
    EXPECT_TRUE(localDayStartNs("2024-02-29"));
    for (const char* text : {"2023-02-29", "2023-13-01", "2023-1-01", "yesterday", ""}) {
        EXPECT_FALSE(localDayStartNs(text)) << text;
    }
    EXPECT_EQ(*localDayStartNs("2023-12-31", 1), *localDayStartNs("2024-01-01"));
}

}  // namespace
}  // namespace dyno::testing
