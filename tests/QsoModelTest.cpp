// The practice contacts against the world: every shipped contact and ten thousand
// generated ones held against the country file (Debian's hamradio-files) and the
// station model, and the check itself shown to catch what an operator would.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <map>
#include <set>

#include "tests/TestSupport.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/QsoGenerator.h"
#include "tools/lists/ModelCheck.h"
#include "tools/lists/PracticeLists.h"

using namespace lumbrel;

namespace {

struct QsoModel : ::testing::Test {
    static void SetUpTestSuite() {
        countries = new lists::CountryFile;
        loaded = countries->Load(lists::kCountryFilePath);
    }
    static void TearDownTestSuite() { delete countries; }
    void SetUp() override { ASSERT_TRUE(loaded) << countries->Error() << " (the hamradio-files package)"; }

    static std::string Problems(const qsos::Contact& contact) {
        std::string all;
        for (const std::string& problem : lists::CheckContact(contact, *countries))
            all += contact.frame + ": " + problem + "\n";
        return all.empty() ? all : all + "  " + contact.text;
    }

    static inline lists::CountryFile* countries = nullptr;
    static inline bool loaded = false;
};

TEST_F(QsoModel, TheCountryFileLocatesCallsAsTheyAreSigned) {
    const struct {
        const char* call;
        const char* entity;
        int cq, itu;
    } cases[] = {
        {"DL1ABC", "Fed. Rep. of Germany", 14, 28},
        {"DL/G3ABC", "Fed. Rep. of Germany", 14, 28},
        {"W6/DL1ABC", "United States of America", 3, 6},
        {"K1ABC/P", "United States of America", 5, 8},
        {"G4ABC/QRP", "England", 14, 27},
        {"EA6AB", "Balearic Islands", 14, 37},
        {"EA8/DL1ABC", "Canary Islands", 33, 36},
        {"KH6AB", "Hawaii", 31, 61},
        {"RA9OAB", "Asiatic Russia", 18, 31},
        {"VK6ABC", "Australia", 29, 58},
        {"MM0ABC", "Scotland", 14, 27},
        {"IT9ABC", "Sicily", 15, 28},
    };
    for (const auto& c : cases) {
        lists::CountryFile::Place place;
        ASSERT_TRUE(countries->Lookup(c.call, place, false)) << c.call;
        EXPECT_EQ(place.entity, c.entity) << c.call;
        EXPECT_EQ(place.cqZone, c.cq) << c.call;
        EXPECT_EQ(place.ituZone, c.itu) << c.call;
    }
}

TEST_F(QsoModel, EveryShippedContactIsTheModelsAndHoldsAgainstIt) {
    const QByteArray shipped =
        test::ReadAll(ResolveProgramPath(DefaultProgramFolder(), QStringLiteral("QSO Files\\QSO.txt")));
    EXPECT_LT(shipped.size(), kMaxEntryFileBytes);
    const QList<QByteArray> lines = shipped.trimmed().split('\n');
    ASSERT_EQ(lines.size(), lists::kShippedQsos);
    EXPECT_GE(lines.size(), 2000);
    qsos::QsoGenerator generator(lists::kShippedSeed);
    std::set<std::string> frames;
    for (int i = 0; i < lines.size(); ++i) {
        const qsos::Contact contact = generator.Make(i);
        ASSERT_EQ(lines[i].toStdString(), contact.text) << "line " << i + 1;
        EXPECT_EQ(Problems(contact), "");
        frames.insert(contact.frame);
    }
    EXPECT_GE(frames.size(), 40u);
    // Every call in the file, read from the text alone, is in an entity of the country file.
    const QRegularExpression looksLikeCall(QStringLiteral("^([A-Z0-9]+/)?[A-Z0-9]*[0-9][A-Z]+(/[A-Z]+)?$"));
    for (const QByteArray& token : shipped.simplified().split(' ')) {
        lists::CountryFile::Place place;
        if (looksLikeCall.match(QString::fromLatin1(token)).hasMatch()) {
            EXPECT_TRUE(countries->Lookup(token.toStdString(), place)) << token.toStdString();
        }
    }
}

TEST_F(QsoModel, TenThousandGeneratedContactsHoldAgainstTheModel) {
    qsos::QsoGenerator generator(20251209);
    std::map<std::string, int> frames;
    int stations = 0, listedElsewhere = 0;
    for (int i = 0; i < 10000; ++i) {
        const qsos::Contact contact = generator.Next();
        ASSERT_EQ(Problems(contact), "") << "contact " << i;
        ++frames[contact.frame];
        for (const stations::Station& s : contact.stations) {
            lists::CountryFile::Place place;
            ++stations;
            listedElsewhere += countries->Lookup(s.call, place) && place.entity != s.entity->name;
        }
    }
    EXPECT_EQ(frames.size(), qsos::FrameNames().size());
    // A made-up call now and then is a real one the country file places elsewhere.
    EXPECT_LT(listedElsewhere * 100, stations) << listedElsewhere << " of " << stations;
}

// The check catches what cannot be: each fault put into a good contact.
TEST_F(QsoModel, TheCheckFindsWhatCannotBe) {
    using Kind = qsos::Claim::Kind;
    const stations::Entity& japan = *stations::FindEntity("Japan");
    const struct {
        const char* fault;
        void (*spoil)(qsos::Contact&, const stations::Entity&);
    } cases[] = {
        {"outside its call area",
         [](qsos::Contact& c, const stations::Entity& ja) {
             c.stations = {c.stations[0]};
             stations::Station& s = c.stations[0];
             s.entity = s.home = &ja;
             s.area = s.homeArea = &ja.areas[5];  // JA6, Kyushu
             s.digit = '6';
             s.call = s.homeCall = "JA6ABC";
             s.format = &ja.formats[0];
             s.name = "taka";
             s.town = "sendai";
             c.claims.clear();
             c.text = "JA6ABC qth sendai";
         }},
        {"w on a",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].watts = 5000;
         }},
        {"antenna",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].antenna = {"dipole", 2};
         }},
        {"age",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].yearsLicensed = c.stations[0].age;
         }},
        {"name",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].name = "zzz";
         }},
        {"weather",
         [](qsos::Contact& c, const stations::Entity&) {
             c.claims.push_back(
                 {Kind::Weather, 0, c.stations[0].entity->fahrenheit ? "snow temp 80f" : "snow temp 25c"});
             c.text += " " + c.claims.back().value;
         }},
        {"summit",
         [](qsos::Contact& c, const stations::Entity&) {
             c.claims.push_back({Kind::Summit, 0, "g/ld999"});
             c.text += " g/ld999";
         }},
        {"zone",
         [](qsos::Contact& c, const stations::Entity&) {
             c.claims.push_back({Kind::CqZone, 0, "39"});
             c.text += " 39";
         }},
        {"1x1",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].special = true;
         }},
        {"visitor",
         [](qsos::Contact& c, const stations::Entity&) {
             c.stations[0].visitor = true;
             c.stations[0].call = "OL1/" + c.stations[0].homeCall;
             c.text += " " + c.stations[0].call;
         }},
        {"not in the text",
         [](qsos::Contact& c, const stations::Entity&) {
             c.claims.push_back({Kind::Name, 0, "qqq"});
         }},
    };
    for (const auto& c : cases) {
        qsos::QsoGenerator generator(5);
        qsos::Contact contact = generator.Make(0);  // a ragchew between two ordinary stations
        ASSERT_EQ(Problems(contact), "");
        c.spoil(contact, japan);
        EXPECT_NE(Problems(contact).find(c.fault), std::string::npos) << c.fault << "\n" << Problems(contact);
    }
}

}  // namespace
