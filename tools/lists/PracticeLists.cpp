#include "tools/lists/PracticeLists.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <vector>

namespace lumbrel::lists {
namespace {

using callsigns::Draw;

// The ARRL and RAC sections, by call area for the United States.
constexpr std::array<const char*, 10> kUsSectionsByArea = {
    "CO IA KS MN MO NE ND SD",                        // 0
    "CT EMA ME NH RI VT WMA",                         // 1
    "ENY NLI NNJ NNY SNJ WNY",                        // 2
    "DE EPA MDC WPA",                                 // 3
    "AL GA KY NC NFL SC SFL WCF TN VA PR VI",         // 4
    "AR LA MS NM NTX OK STX WTX",                     // 5
    "EB LAX ORG PAC SB SCV SDG SF SJV SV",            // 6
    "AK AZ EWA ID MT NV OR UT WWA WY",                // 7
    "MI OH WV",                                       // 8
    "IL IN WI",                                       // 9
};
constexpr const char* kRacSections = "AB BC GH MB NB NL NS ONE ONN ONS PE QC SK TER";

// Towns by call area, for the United States and Canada.
constexpr std::array<const char*, 10> kUsTownsByArea = {
    "denver omaha wichita", "boston hartford", "albany buffalo", "pittsburgh baltimore", "atlanta miami tampa",
    "dallas austin tulsa", "fresno sacramento", "seattle portland reno phoenix", "detroit columbus", "chicago milwaukee",
};
constexpr std::array<const char*, 10> kCanadianTownsByArea = {
    "", "halifax", "montreal quebec", "toronto ottawa", "winnipeg", "regina saskatoon", "calgary edmonton",
    "victoria vancouver", "", "moncton",
};

// The states of each United States call area, for the state in an exchange.
constexpr std::array<const char*, 10> kStatesByArea = {
    "co ia ks mn mo ne nd sd", "ct me ma nh ri vt", "ny nj", "pa de md", "va nc sc ga fl al tn ky",
    "tx ok ar la ms nm", "ca", "wa or id mt wy nv ut az", "mi oh wv", "il in wi",
};

constexpr std::array kAbbreviations = std::to_array<const char*>({
    "abt", "agn", "ant", "bcnu", "bk", "b4", "buro", "cfm", "cl", "clr", "cpy", "cq", "cuagn", "cul", "cw", "de",
    "dr", "dx", "el", "es", "fb", "fer", "fm", "ga", "gb", "gd", "ge", "gl", "gm", "gn", "gnd", "gud", "hi",
    "hpe", "hr", "hv", "hw", "k", "lid", "mni", "msg", "n", "nr", "nw", "ob", "om", "op", "pse", "pwr", "r",
    "rcvd", "rfi", "rig", "rpt", "rst", "rx", "sig", "sked", "sri", "ssb", "temp", "test", "tks", "tnx", "tu",
    "tx", "u", "ur", "vy", "wid", "wkd", "wl", "wpm", "wx", "xyl", "yl", "yrs", "5nn", "73", "88",
    "^ar", "^as", "^bk", "^bt", "^kn", "^sk",
});

// SOTA association and region prefixes by the activator's country.
struct SotaRegions {
    const char* entity;
    const char* regions;
};
constexpr std::array kSota = std::to_array<SotaRegions>({
    {"England", "g/ld g/sp g/ce g/wb"},
    {"Wales", "gw/nw gw/sw"},
    {"Scotland", "gm/ss gm/cs gm/ws"},
    {"Germany", "dm/bw dm/by dm/nw dm/hs"},
    {"Austria", "oe/ti oe/sb oe/st"},
    {"Switzerland", "hb/be hb/gr hb/vs"},
    {"United States", "w7a/aw w6/ct w4c/cm w0c/fr w1/hl"},
    {"Australia", "vk3/ve vk2/ct"},
    {"Spain", "ea2/nv ea1/at"},
    {"France", "f/ab f/am"},
    {"Italy", "i/lo i/pm"},
});


std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A station: its callsign and where it is.
struct Station : callsigns::Callsign {
    std::string name;
    std::string town;
};

class Maker {
public:
    explicit Maker(std::uint32_t seed) : draw_(seed), calls_(draw_) {}

    const PrefixBlock& AnyBlock() { return calls_.AnyBlock(); }
    bool NorthAmerican(const PrefixBlock& block) const
    {
        const std::string_view e = block.entity;
        return e == "United States" || e == "Canada";
    }
    bool Rare(const PrefixBlock& block) const { return block.weight <= 1; }

    // A plain callsign of the block, with a name and a town.
    Station Call(const PrefixBlock& block)
    {
        Station s;
        static_cast<callsigns::Callsign&>(s) = calls_.Call(block);
        s.name = draw_.Word(block.names);
        const std::string_view entity = block.entity;
        const auto area = static_cast<std::size_t>(s.digit - '0');
        if (entity == "United States" && *block.digits != '\0')
            s.town = draw_.Word(kUsTownsByArea[area]);
        else if (entity == "Canada" && s.call[1] != 'O' && s.call[1] != 'Y')
            s.town = draw_.Word(kCanadianTownsByArea[area]);
        else
            s.town = draw_.Word(block.towns);
        return s;
    }
    Station Any() { return Call(AnyBlock()); }
    Station CommonStation()
    {
        for (;;) {
            const PrefixBlock& block = AnyBlock();
            if (!Rare(block))
                return Call(block);
        }
    }
    Station NorthAmericanStation()
    {
        for (;;) {
            const PrefixBlock& block = AnyBlock();
            if (NorthAmerican(block))
                return Call(block);
        }
    }
    Station RareStation()
    {
        const std::span<const PrefixBlock> blocks = callsigns::PrefixBlocks();
        for (;;) {
            const PrefixBlock& block = blocks[static_cast<std::size_t>(draw_.Below(static_cast<int>(blocks.size())))];
            if (Rare(block))
                return Call(block);
        }
    }

    // A call with a portable or QRP mark, or signed from another country (and then
    // from a town there).
    Station Decorated(Station s)
    {
        if (const PrefixBlock* host = calls_.Decorate(s))
            s.town = draw_.Word(host->towns);
        return s;
    }

    int Zone(const Station& s) const
    {
        if (s.block->zone != 0)
            return s.block->zone;
        const std::string_view e = s.block->entity;
        const int d = s.digit - '0';
        if (e == "United States")
            return d >= 1 && d <= 4 ? 5 : (d == 6 || d == 7 ? 3 : 4);
        if (e == "Canada") {
            if (s.call[1] == 'O')
                return d == 2 ? 2 : 5;  // Labrador, Newfoundland
            if (s.call[1] == 'Y')
                return d == 1 ? 1 : 5;  // Yukon, Prince Edward Island
            return d == 7 ? 3 : (d == 1 || d == 9 ? 5 : (d == 2 ? 2 : 4));
        }
        if (e == "Russia")
            return d == 9 ? 17 : (d == 0 ? 18 : (d == 8 ? 17 : 16));
        if (e == "Australia")
            return d == 6 || d == 8 ? 29 : 30;
        return 14;
    }

    // The section of a United States or Canadian station.
    std::string Section(const Station& s)
    {
        if (std::string_view(s.block->entity) == "Canada") {
            if (s.call[1] == 'O')
                return "NL";
            if (s.call[1] == 'Y')
                return s.digit == '1' ? "TER" : "PE";
            switch (s.digit) {
            case '1': return "NS";
            case '2': return "QC";
            case '3': return draw_.Word("ONE ONN ONS GH");
            case '4': return "MB";
            case '5': return "SK";
            case '6': return "AB";
            case '7': return "BC";
            case '9': return "NB";
            default: return "PE";
            }
        }
        return draw_.Word(kUsSectionsByArea[static_cast<std::size_t>(s.digit - '0')]);
    }
    // The state or province sent in ARRL DX, POTA and slow-speed exchanges.
    std::string State(const Station& s)
    {
        if (std::string_view(s.block->entity) == "Canada") {
            const std::string section = Section(s);
            if (section.rfind("ON", 0) == 0 || section == "GH")
                return "on";
            return section == "TER" ? "yt" : Lower(section);
        }
        return draw_.Word(kStatesByArea[static_cast<std::size_t>(s.digit - '0')]);
    }

    // A number as contesters send it: now and then with the cut digits t for 0, n for 9
    // and a for 1.
    std::string Cut(std::string digits)
    {
        if (!draw_.Chance(40))
            return digits;
        const bool cutOnes = draw_.Chance(25);
        for (char& c : digits) {
            if (c == '0')
                c = 't';
            else if (c == '9')
                c = 'n';
            else if (c == '1' && cutOnes)
                c = 'a';
        }
        return digits;
    }
    std::string TwoDigits(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }
    std::string ThreeDigits(int n) { return std::string(1, char('0' + n / 100 % 10)) + TwoDigits(n); }
    std::string Rst(bool weak = false)
    {
        return draw_.Word(weak ? "339 449 459 559 569" : "599 599 589 579 579 569 559 449");
    }
    std::string Twice(const std::string& word) { return draw_.Chance(75) ? word + " " + word : word; }
    std::string Greeting() { return draw_.Word("gm ga ge"); }
    // Every draw below is a statement of its own, or the only one of its expression,
    // so that the order of the draws (and so the files) does not depend on the compiler.
    std::string Rig()
    {
        std::string rig = draw_.Word("100w 100w 50w 5w 10w 500w kw 200w");
        if (draw_.Chance(20))
            rig += " homebrew";
        return rig;
    }
    std::string Antenna()
    {
        return draw_.Phrase("dipole|vertical|yagi|hex beam|loop|end fed wire|inv v|long wire|g5rv|3el yagi|quad|"
                            "windom|dipole|vertical");
    }
    std::string Antenna2()
    {
        const std::string a = draw_.Word("dipole vertical yagi loop quad windom g5rv");
        return draw_.Chance(30) ? draw_.Word("3el 4el 2el") + " " + a : a;
    }
    std::string Weather(const Station& s)
    {
        std::string wx = draw_.Word("sunny cloudy rain snow fog windy clr hot cold warm sunny cloudy");
        if (draw_.Chance(60)) {
            const bool fahrenheit = std::string_view(s.block->entity) == "United States";
            const int t = fahrenheit ? 40 + draw_.Below(55) : 2 + draw_.Below(30);
            wx += " temp " + std::to_string(t) + (fahrenheit ? "f" : "c");
        }
        return wx;
    }
    // The words in order, separated by spaces.
    static std::string Words(std::initializer_list<std::string> words)
    {
        std::string line;
        for (const std::string& word : words) {
            if (word.empty())
                continue;
            if (!line.empty())
                line += ' ';
            line += word;
        }
        return line;
    }

    std::string Ragchew(bool slow)
    {
        Station a = CommonStation();
        Station b = CommonStation();
        if (draw_.Chance(15))
            b = Decorated(b);
        std::vector<std::string> overs;
        const std::string calls = draw_.Chance(50) ? Words({a.call, a.call, a.call}) : Words({a.call, a.call});
        const std::string qrl = draw_.Chance(30) ? "qrl?" : "";
        const std::string end = draw_.Chance(50) ? "^ar k" : "k";
        overs.push_back(Words({qrl, calls.size() > 2 * a.call.size() + 1 ? "cq cq cq de" : "cq cq de", calls,
                               slow ? "pse qrs" : "", end}));
        const std::string answerEnd = draw_.Chance(50) ? "^ar" : "k";
        overs.push_back(Words({a.call, "de", b.call, b.call, answerEnd}));

        const bool weak = draw_.Chance(20);
        const std::string rstB = Rst(weak);
        const std::string greeting = Greeting();
        const std::string noise = rstB[1] < '7' ? draw_.Word("qsb qrm qrn") : "";
        const std::string nameA = Twice(a.name);
        const std::string townA = Twice(a.town);
        overs.push_back(Words({b.call, "de", a.call, "^bt", greeting, "es tnx fer call ^bt ur rst", rstB, rstB, noise,
                               "^bt name", nameA, "^bt qth", townA, slow ? "^bt pse qrs" : "", "^bt hw cpy? ^ar",
                               b.call, "de", a.call, "^kn"}));

        const std::string rstA = Rst();
        const std::string nameB = Twice(b.name);
        const std::string townB = Twice(b.town);
        std::string station;
        if (draw_.Chance(60)) {
            const std::string rig = Rig();
            station = "^bt rig " + rig + " es ant " + Antenna();
        }
        const std::string wx = draw_.Chance(50) ? "^bt wx " + Weather(b) : "";
        std::string age;
        if (draw_.Chance(25)) {
            const int years = 25 + draw_.Below(60);
            age = "^bt age " + std::to_string(years) + " es been ham " + std::to_string(2 + draw_.Below(50)) + " yrs";
        }
        std::string club;
        if (slow && draw_.Chance(60)) {
            const int number = 1000 + draw_.Below(28000);
            club = "^bt skcc nr " + std::to_string(number) + (draw_.Chance(40) ? draw_.Word("c t s") : std::string());
        }
        overs.push_back(Words({a.call, "de", b.call, "^bt r r fb", a.name, "tnx fer rpt ^bt ur rst", rstA, rstA,
                               "^bt name", nameB, "^bt qth", townB, station, wx, age, club, "^bt hw? ^ar", a.call,
                               "de", b.call, "^kn"}));

        std::string rigHere;
        if (draw_.Chance(70)) {
            const std::string rig = Rig();
            rigHere = "^bt rig hr " + rig + " es ant " + Antenna2();
        }
        const std::string wxHere = draw_.Chance(50) ? "^bt wx " + Weather(a) : "";
        const std::string qsl = draw_.Chance(30) ? "^bt qsl via buro ok" : "";
        const std::string nice = draw_.Word("fb nice");
        overs.push_back(Words({b.call, "de", a.call, "^bt r fb", b.name, rigHere, wxHere, qsl, "^bt tnx fer", nice,
                               "qso es hpe cuagn ^bt 73 ^sk", b.call, "de", a.call}));
        const std::string wishes = draw_.Phrase("73 es gl|73 es gud dx|vy 73|73 cul");
        overs.push_back(Words({a.call, "de", b.call, "^bt r tnx", a.name, "fer qso ^bt", wishes, "^sk e e"}));
        return Join(overs);
    }

    std::string CqWw()
    {
        Station a = CommonStation();
        Station b = Any();
        std::vector<std::string> overs = {"cq test " + a.call + " " + a.call + " test", Twice(b.call)};
        overs.push_back(b.call + " 5nn " + Cut(TwoDigits(Zone(a))));
        if (draw_.Chance(15)) {
            overs.push_back("agn?");
            overs.push_back(Cut(TwoDigits(Zone(b))) + " " + TwoDigits(Zone(b)));
        } else {
            overs.push_back("tu 5nn " + Cut(TwoDigits(Zone(b))));
        }
        overs.push_back("tu " + a.call + " test");
        return Join(overs);
    }

    std::string ArrlDx()
    {
        Station w = NorthAmericanStation();
        Station dx = CommonStation();
        while (NorthAmerican(*dx.block))
            dx = CommonStation();
        const std::string power = Cut(draw_.Word("100 100 kw 500 400 100 kw 200"));
        const std::string state = State(w);
        if (draw_.Chance(50))
            return Join({"cq test " + dx.call + " " + dx.call, w.call, w.call + " 5nn " + power,
                         "tu 5nn " + state, "tu " + dx.call});
        return Join({"cq test de " + w.call + " " + w.call + " test", dx.call, dx.call + " 5nn " + state,
                     "r 5nn " + power, "tu " + w.call + " test"});
    }

    std::string Sweepstakes()
    {
        Station a = NorthAmericanStation();
        Station b = NorthAmericanStation();
        // Serial number, precedence, call, check (the year first licensed), section.
        auto exchange = [&](const Station& s) {
            const int number = 1 + draw_.Below(900);
            const std::string precedence = draw_.Word("a a b u m q s");
            const int check = draw_.Below(100);
            return Words({std::to_string(number), precedence, s.call, TwoDigits(check), Lower(Section(s))});
        };
        const std::string first = exchange(a);
        const std::string second = exchange(b);
        return Join({"cq ss " + a.call + " " + a.call + " ss", b.call, b.call + " " + first, "r " + second,
                     "tu " + a.call + " ss"});
    }

    std::string FieldDay()
    {
        Station a = NorthAmericanStation();
        Station b = NorthAmericanStation();
        // Transmitters and class, then the section.
        auto exchange = [&](const Station& s) {
            const int transmitters = 1 + draw_.Below(draw_.Chance(70) ? 3 : 12);
            const std::string category = draw_.Word("a a a b c d d e f");
            return std::to_string(transmitters) + category + " " + Lower(Section(s));
        };
        const std::string first = exchange(a);
        const std::string reply = exchange(b);
        std::vector<std::string> overs = {"cq fd cq fd de " + a.call + " " + a.call + " fd", b.call,
                                          b.call + " " + first, "r " + reply};
        if (draw_.Chance(20)) {
            // The section did not come through.
            const std::string section = reply.substr(reply.find(' ') + 1);
            overs.push_back("sect?");
            overs.push_back(section + " " + section);
        }
        overs.push_back("tu " + a.call + " fd");
        return Join(overs);
    }

    std::string Serials()
    {
        Station a = CommonStation();
        Station b = Any();
        const int nr = 1 + draw_.Below(1500);
        std::vector<std::string> overs = {"cq test " + a.call + " test", b.call, b.call + " 5nn " + Cut(ThreeDigits(nr))};
        if (draw_.Chance(20)) {
            const std::string once = Cut(ThreeDigits(nr));
            overs.push_back("nr?");
            overs.push_back(once + " " + once);
        }
        overs.push_back("tu 5nn " + Cut(ThreeDigits(1 + draw_.Below(900))));
        overs.push_back("tu " + a.call);
        return Join(overs);
    }

    std::string Cwt()
    {
        Station a = CommonStation();
        Station b = CommonStation();
        // A member's name and number; a station that is no member sends its state.
        auto exchange = [&](const Station& s) {
            if (!NorthAmerican(*s.block) || draw_.Chance(70))
                return s.name + " " + std::to_string(1 + draw_.Below(3500));
            return s.name + " " + State(s);
        };
        const std::string first = exchange(a);
        const std::string second = exchange(b);
        return Join({"cq cwt " + a.call, b.call, b.call + " " + first, "tu " + second, "tu " + a.call + " cwt"});
    }

    std::string SlowSpeedTest()
    {
        Station a = NorthAmericanStation();
        Station b = NorthAmericanStation();
        const std::string stateA = State(a);
        const std::string stateB = State(b);
        return Join({"cq sst " + a.call + " " + a.call, b.call + " " + b.call, Words({b.call, a.name, stateA}),
                     Words({"r tu", b.name, stateB}), Words({"tu", b.name, "73", a.call, "sst"})});
    }

    std::string PileUp()
    {
        Station dx = RareStation();
        const std::string split = draw_.Phrase("up|up 1|up 2|up 5|up 1 2");
        std::vector<std::string> overs = {"cq dx " + dx.call + " " + dx.call + " " + split};
        const int callers = 2 + draw_.Below(3);
        for (int i = 0; i < callers; ++i) {
            Station c = CommonStation();
            if (draw_.Chance(35)) {
                // Only part of the call came through.
                overs.push_back(c.call + " " + c.call);
                overs.push_back(c.call.substr(0, c.call.size() - 2) + "? agn");
                overs.push_back(Twice(c.call));
            } else {
                overs.push_back(c.call);
            }
            overs.push_back(c.call + " 5nn");
            overs.push_back(draw_.Chance(50) ? "5nn tu" : "r 5nn tu");
            overs.push_back(i + 1 < callers ? "tu " + split : "tu " + dx.call + " " + split);
        }
        return Join(overs);
    }

    std::string Sota()
    {
        std::vector<const SotaRegions*> regions;
        Station a = CommonStation();
        for (;;) {
            for (const SotaRegions& r : kSota)
                if (std::string_view(r.entity) == a.block->entity)
                    regions.push_back(&r);
            if (!regions.empty())
                break;
            a = CommonStation();
        }
        const SotaRegions& region = *regions[static_cast<std::size_t>(draw_.Below(static_cast<int>(regions.size())))];
        a.call += "/P";
        Station b = CommonStation();
        const bool s2s = draw_.Chance(20);
        if (s2s)
            b.call += "/P";
        const std::string association = draw_.Word(region.regions);
        const std::string ref = association + ThreeDigits(1 + draw_.Below(300));
        const std::string greeting = Greeting();
        const std::string rst = Twice(Rst());
        std::vector<std::string> overs = {"cq sota cq sota de " + a.call + " " + a.call + " k", b.call,
                                          Words({b.call, greeting, "ur", rst, "ref", ref, "^bk"})};
        std::string reply = "^bk r r tu ur " + Twice(Rst(draw_.Chance(30)));
        if (s2s) {
            const std::string other = draw_.Word("g/ld dm/by oe/ti hb/be");
            reply += " s2s ref " + other + ThreeDigits(1 + draw_.Below(300));
        }
        reply += " " + draw_.Phrase("73|tnx fer summit 73|gl 73") + " ^bk";
        overs.push_back(reply);
        overs.push_back("^bk tu 73 e e");
        return Join(overs);
    }

    std::string Pota()
    {
        Station a = NorthAmericanStation();
        Station b = draw_.Chance(75) ? NorthAmericanStation() : CommonStation();
        const std::string where = NorthAmerican(*b.block) ? Twice(State(b)) : "";
        const std::string rstB = Twice(Rst());
        const std::string stateA = Twice(State(a));
        const std::string rstA = Twice(Rst());
        return Join({"cq pota de " + a.call + " " + a.call + " k", b.call,
                     Words({b.call, "tu ur", rstB, stateA, "^bk"}), Words({"^bk r r tu ur", rstA, where, "73 ^bk"}),
                     "^bk tu 73 e e"});
    }

    std::string Qrp()
    {
        Station a = Decorated(CommonStation());
        Station b = CommonStation();
        const std::string rstB = Twice(Rst());
        const std::string power = draw_.Word("5w 3w 2w 1w");
        const std::string antenna = Antenna2();
        const std::string nameA = Twice(a.name);
        const std::string rstA = Twice(Rst(true));
        const std::string nameB = Twice(b.name);
        return Join({"cq qrp cq qrp de " + a.call + " " + a.call + " k", a.call + " de " + b.call + " " + b.call + " k",
                     Words({b.call, "de", a.call, "^bt tnx ^bt ur", rstB, "^bt rig", power, "es", antenna,
                            "^bt name", nameA, "^bt hw?", b.call, "de", a.call, "^kn"}),
                     Words({a.call, "de", b.call, "^bt r fb", a.name, "^bt ur", rstA, "fb fer qrp ^bt name", nameB,
                            "^bt 73 es gl ^sk"}),
                     "tu " + b.name + " 73 ^sk e e"});
    }

    std::string Qso(int index)
    {
        // The kinds a learner meets, in a fixed rotation so that each comes often enough.
        switch (index % 12) {
        case 0:
        case 6: return Ragchew(false);
        case 1: return CqWw();
        case 2: return PileUp();
        case 3: return Ragchew(true);
        case 4: return ArrlDx();
        case 5: return Sota();
        case 7: return FieldDay();
        case 8: return Pota();
        case 9: return draw_.Chance(50) ? Sweepstakes() : Serials();
        case 10: return draw_.Chance(50) ? Cwt() : SlowSpeedTest();
        default: return Qrp();
        }
    }

    Draw& draw() { return draw_; }

private:
    static std::string Join(const std::vector<std::string>& overs)
    {
        std::string line;
        for (const std::string& over : overs) {
            if (!line.empty())
                line += ' ';
            line += over;
        }
        return line;
    }

    Draw draw_;
    callsigns::CallsignMaker calls_;
};

}  // namespace

std::span<const char* const> Sections()
{
    static const std::vector<const char*> sections = [] {
        static std::vector<std::string> words;
        for (const char* area : kUsSectionsByArea)
            for (const std::string& w : Draw::Split(area))
                words.push_back(w);
        for (const std::string& w : Draw::Split(kRacSections))
            words.push_back(w);
        std::vector<const char*> out;
        for (const std::string& w : words)
            out.push_back(w.c_str());
        return out;
    }();
    return sections;
}

std::span<const char* const> Abbreviations() { return kAbbreviations; }

Lists MakeLists(std::uint32_t seed, int qsos, int callsigns)
{
    Maker maker(seed);
    Lists lists;
    for (int i = 0; i < qsos; ++i)
        lists.qsos += maker.Qso(i) + "\n";

    std::set<std::string> seen;
    while (static_cast<int>(seen.size()) < callsigns) {
        Station s = maker.Any();
        if (maker.draw().Chance(8))
            s = maker.Decorated(s);
        if (seen.insert(s.call).second)
            lists.callsigns += s.call + "\n";
    }
    for (const char* abbreviation : kAbbreviations)
        lists.abbreviations += std::string(abbreviation) + "\n";
    return lists;
}

}  // namespace lumbrel::lists
