#include "text/QsoGenerator.h"

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <string_view>

namespace lumbrel::qsos {
namespace {

using stations::Draw;
using stations::Entity;
using stations::StationMaker;
using Kind = Claim::Kind;

// The words in order, separated by spaces; empty ones left out.
std::string Words(std::initializer_list<std::string> words) {
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

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string TwoDigits(int n) {
    return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10);
}
std::string ThreeDigits(int n) {
    return std::string(1, char('0' + n / 100 % 10)) + TwoDigits(n);
}

// CW frequencies in kHz per band: the band's name and the range heard.
struct Band {
    const char* name;
    int low, high;
};
constexpr std::array kBands = std::to_array<Band>({
    {"160m", 1810, 1840},
    {"80m", 3510, 3570},
    {"40m", 7010, 7045},
    {"30m", 10110, 10130},
    {"20m", 14010, 14070},
    {"17m", 18070, 18095},
    {"15m", 21010, 21070},
    {"12m", 24890, 24915},
    {"10m", 28010, 28070},
});

// The regions of the SOTA associations used, with a summit count no greater than the
// region's own, and where their activators live.
const std::vector<SotaRegion> kSotaRegions = {
    {"g/ld", 50, "England", ""},
    {"g/sp", 15, "England", ""},
    {"g/np", 30, "England", ""},
    {"g/wb", 20, "England", ""},
    {"gw/nw", 60, "Wales", ""},
    {"gw/sw", 35, "Wales", ""},
    {"gm/ss", 250, "Scotland", ""},
    {"gm/cs", 100, "Scotland", ""},
    {"gm/ws", 200, "Scotland", ""},
    {"dm/bw", 300, "Fed. Rep. of Germany", ""},
    {"dm/nw", 200, "Fed. Rep. of Germany", ""},
    {"dm/bm", 300, "Fed. Rep. of Germany", ""},
    {"dl/al", 150, "Fed. Rep. of Germany", ""},
    {"oe/ti", 500, "Austria", "7"},
    {"oe/sb", 300, "Austria", "2"},
    {"oe/st", 400, "Austria", "6"},
    {"oe/kt", 300, "Austria", "8"},
    {"oe/oo", 200, "Austria", "5"},
    {"oe/vb", 100, "Austria", "9"},
    {"hb/be", 150, "Switzerland", ""},
    {"hb/gr", 500, "Switzerland", ""},
    {"hb/vs", 400, "Switzerland", ""},
    {"w0c/fr", 400, "United States of America", "0"},
    {"w6/ct", 200, "United States of America", "6"},
    {"w7o/cs", 200, "United States of America", "7"},
    {"w7w/kg", 60, "United States of America", "7"},
    {"w4c/cm", 80, "United States of America", "4"},
    {"w4c/wm", 150, "United States of America", "4"},
    {"w4g/ng", 100, "United States of America", "4"},
    {"vk3/ve", 200, "Australia", "3"},
    {"vk2/ht", 100, "Australia", "2"},
    {"vk1/ac", 40, "Australia", "1"},
    {"ea2/nv", 300, "Spain", "2"},
    {"ea1/at", 300, "Spain", "1"},
    {"ea3/gi", 200, "Spain", "3"},
    {"f/am", 200, "France", ""},
    {"f/ab", 200, "France", ""},
    {"i/lo", 400, "Italy", "2"},
    {"i/pm", 500, "Italy", "1"},
    {"zl3/cb", 500, "New Zealand", "3"},
    {"zl1/wk", 100, "New Zealand", "1"},
    {"sp/bs", 80, "Poland", "9"},
    {"ok/us", 100, "Czech Republic", "1"},
    {"s5/ka", 100, "Slovenia", ""},
    {"9a/dh", 50, "Croatia", ""},
};

// POTA park prefixes by entity.
std::string ParkPrefix(const Station& s) {
    const std::string_view e = s.entity->name;
    if (e == "United States of America")
        return "us";
    if (e == "Canada")
        return "ca";
    if (e == "England" || e == "Scotland" || e == "Wales")
        return "gb";
    if (e == "Fed. Rep. of Germany")
        return "de";
    return "";
}

}  // namespace

const std::vector<SotaRegion>& SotaRegions() {
    return kSotaRegions;
}

std::string UncutDigits(std::string sent) {
    for (char& c : sent) {
        if (c == 't' || c == 'o')
            c = '0';
        else if (c == 'n')
            c = '9';
        else if (c == 'a')
            c = '1';
        else if (c == 'e')
            c = '5';
    }
    return sent;
}

class QsoGenerator::Builder {
public:
    explicit Builder(std::uint32_t seed) : draw_(seed), maker_(draw_) {}

    using Frame = std::string (Builder::*)();
    struct NamedFrame {
        const char* name;
        Frame make;
    };
    static const std::vector<NamedFrame>& Frames();

    Contact Make(int frame) {
        const auto& frames = Frames();
        const NamedFrame& f = frames[static_cast<std::size_t>(frame) % frames.size()];
        c_ = Contact{};
        c_.frame = f.name;
        c_.month = 1 + draw_.Below(12);
        band_ = kBands[static_cast<std::size_t>(draw_.Below(static_cast<int>(kBands.size())))];
        c_.text = (this->*f.make)();
        return std::move(c_);
    }
    Draw& draw() { return draw_; }

private:
    // --- Stations and what is said of them ------------------------------------------------

    int Add(Station s) {
        c_.stations.push_back(std::move(s));
        return static_cast<int>(c_.stations.size()) - 1;
    }
    const Station& S(int i) const { return c_.stations[static_cast<std::size_t>(i)]; }
    Station& M(int i) { return c_.stations[static_cast<std::size_t>(i)]; }
    std::string Call(int i) const { return S(i).call; }
    std::string Say(Kind kind, int i, std::string value) {
        c_.claims.push_back({kind, i, value});
        return value;
    }

    int Common() { return Add(maker_.Any()); }
    int Na() { return Add(maker_.NorthAmerican()); }
    int Dx() {
        for (;;) {
            Station s = maker_.Any();
            if (!s.NorthAmerican())
                return Add(std::move(s));
        }
    }
    int Other(int than) {
        for (;;) {
            Station s = maker_.Any();
            if (s.homeCall != S(than).homeCall)
                return Add(std::move(s));
        }
    }

    // --- Pieces of text -------------------------------------------------------------------

    std::string Rst(bool weak = false) {
        return draw_.Word(weak ? "339 449 459 559 569 449" : "599 599 589 579 579 569 559 599");
    }
    bool Weak(const std::string& rst) const { return rst[1] < '7'; }
    std::string Twice(const std::string& word) { return draw_.Chance(70) ? word + " " + word : word; }
    std::string Greeting() { return draw_.Word("gm ga ge"); }
    std::string Fer() { return draw_.Word("fer fer fer for"); }
    std::string Tnx() { return draw_.Word("tnx tnx tks tu"); }
    // The operands of + are not sequenced: words of one phrase are drawn one statement
    // each, the last word first, as the shipped contacts were made.
    std::string ThanksForTheCall() {
        const std::string fer = Fer();
        const std::string tnx = Tnx();
        return Greeting() + " es " + tnx + " " + fer + " call";
    }
    std::string GreetingAndThanks() {
        const std::string tnx = Tnx();
        return Greeting() + " " + tnx;
    }
    std::string Break() { return draw_.Chance(70) ? "^bt" : ""; }
    std::string Freq() { return std::to_string(band_.low + draw_.Below(band_.high - band_.low + 1)); }
    std::string Cut(std::string digits) {
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
    std::string ZoneSent(int i, bool itu) {
        const int zone = itu ? S(i).ItuZone() : S(i).CqZone();
        std::string sent = zone < 10 && draw_.Chance(40) ? std::to_string(zone) : Cut(TwoDigits(zone));
        return Say(itu ? Kind::ItuZone : Kind::CqZone, i, sent);
    }
    std::string Name(int i) { return Say(Kind::Name, i, S(i).name); }
    std::string Town(int i) { return Say(Kind::Qth, i, S(i).town); }
    std::string State(int i) { return Say(Kind::State, i, S(i).state); }
    std::string Power(int i) {
        const int w = S(i).watts;
        return Say(Kind::Power, i, w == 1000 && draw_.Chance(50) ? "kw" : std::to_string(w) + "w");
    }
    std::string NameSentence(int i) {
        const std::string n = Name(i);
        switch (draw_.Below(5)) {
            case 0:
                return "name " + Twice(n);
            case 1:
                return "op " + Twice(n);
            case 2:
                return "name hr " + Twice(n);
            case 3:
                return "name is " + n + " " + n;
            default:
                return "op hr is " + Twice(n);
        }
    }
    std::string QthSentence(int i) {
        const std::string t = Town(i);
        switch (draw_.Below(4)) {
            case 0:
                return "qth " + Twice(t);
            case 1:
                return "qth is " + t + " " + t;
            case 2:
                return "qth hr " + Twice(t);
            default:
                if (!S(i).state.empty())
                    return "qth " + Twice(t) + " " + State(i);
                return "qth " + Twice(t);
        }
    }
    std::string RstSentence(int to) {
        const std::string rst = Rst(draw_.Chance(20));
        std::string noise;
        if (Weak(rst))
            noise = draw_.Phrase("qsb|qrm|qrn|qsb hr|wid qsb|but qrm");
        (void)to;
        return Words({draw_.Phrase("ur rst|ur rst is|rst|ur sig"), rst, draw_.Chance(60) ? rst : "", noise});
    }
    std::string AntennaSaid(int i) { return Say(Kind::Antenna, i, S(i).antenna.Spoken()); }
    std::string RigSentence(int i) {
        switch (draw_.Below(5)) {
            case 0:
                return "rig hr runs " + Power(i) + " es ant " + AntennaSaid(i);
            case 1:
                return "pwr " + Power(i) + " ant " + AntennaSaid(i);
            case 2: {
                const std::string power = Power(i);
                return Words({"rig", power, Break(), "ant is", AntennaSaid(i)});
            }
            case 3:
                return "xmtr " + Power(i) + " es ant " + AntennaSaid(i);
            default:
                return "hr " + Power(i) + " into " + AntennaSaid(i);
        }
    }
    std::string WxSentence(int i) {
        const stations::Weather wx = maker_.WeatherFor(S(i), c_.month);
        return (draw_.Chance(50) ? "wx " : "wx hr ") +
               Say(Kind::Weather, i, wx.Spoken(S(i).entity->fahrenheit));
    }
    std::string AgeSentence(int i) {
        const std::string age = Say(Kind::Age, i, std::to_string(S(i).age));
        const std::string years = Say(Kind::Years, i, std::to_string(S(i).yearsLicensed));
        switch (draw_.Below(3)) {
            case 0:
                return "age " + age + " es licensed " + years + " yrs";
            case 1:
                return "age hr " + age + " es been ham " + years + " yrs";
            default:
                return Words({"age", age, Break(), "ham", years, "yrs"});
        }
    }
    std::string Seventy() { return draw_.Phrase("73|vy 73|73 es gl|73 es gud dx|best 73|73 cul"); }
    std::string Bye(int to, int from) { return Words({Call(to), "de", Call(from)}); }

    // --- Ragchews -------------------------------------------------------------------------

    std::string Cq(int i, const char* kind = "") {
        const std::string calls =
            draw_.Chance(50) ? Words({Call(i), Call(i), Call(i)}) : Words({Call(i), Call(i)});
        const std::string cq = draw_.Chance(50) ? "cq cq cq" : "cq cq";
        return Words(
            {draw_.Chance(20) ? "qrl?" : "", cq, kind, "de", calls, draw_.Chance(40) ? "^ar k" : "k"});
    }
    std::string Answer(int to, int from) {
        return Words({Call(to), "de", Call(from), Call(from), draw_.Chance(50) ? "^ar" : "k"});
    }
    std::string Over(std::initializer_list<std::string> body, int to, int from, const char* end = "^kn") {
        std::string text;
        for (const std::string& part : body) {
            if (part.empty())
                continue;
            if (!text.empty())
                text += draw_.Chance(75) ? " ^bt " : " ";
            text += part;
        }
        return Words({Call(to), "de", Call(from), text, Bye(to, from), end});
    }
    static std::string Join(std::initializer_list<std::string> overs) {
        std::string line;
        for (const std::string& over : overs)
            if (!over.empty())
                line += (line.empty() ? "" : " ") + over;
        return line;
    }

    std::string RagchewShort() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({ThanksForTheCall(), RstSentence(b), NameSentence(a), QthSentence(a), "hw cpy?"}, b, a),
             Over({"r r " + Tnx() + " " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b), Seventy(),
                   "cul"},
                  a, b, "^sk"),
             Words({Tnx(), Name(b), Seventy(), "^sk", Call(b), "de", Call(a), "e e"})});
    }

    std::string RagchewLong() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over(
                 {Greeting() + " om es tnx fer call", RstSentence(b), NameSentence(a), QthSentence(a), "hw?"},
                 b, a),
             Over({"r fb " + Name(a) + " " + Tnx() + " fer rpt", RstSentence(a), NameSentence(b),
                   QthSentence(b), RigSentence(b), WxSentence(b), draw_.Chance(50) ? AgeSentence(b) : "",
                   "hw cpy?"},
                  a, b),
             Over({"r r fb " + Name(b) + " all cpy", RigSentence(a), WxSentence(a), AgeSentence(a),
                   draw_.Chance(40) ? "qsl via buro ok" : "qsl via lotw", "tnx fer nice qso"},
                  b, a),
             Over({"r tnx " + Name(a) + " fer fb qso", draw_.Chance(50) ? "hpe cuagn" : "cul", Seventy()}, a,
                  b, "^sk"),
             Words({"tu", Name(b), "73 ^sk e e"})});
    }

    std::string RagchewFading() {
        const int a = Common(), b = Other(a);
        const std::string weak = Rst(true);
        return Join({Cq(a), Answer(a, b),
                     Over({Greeting() + " tnx fer call", "ur rst " + weak + " " + weak + " wid qsb",
                           NameSentence(a), QthSentence(a), "hw?"},
                          b, a),
                     Words({Call(a), "de", Call(b), "sri", Name(a), "qsb hr pse agn ur qth? ^kn"}),
                     Words({Call(b), "de", Call(a), "qth", Twice(Town(a)), Town(a), "^kn"}),
                     Over({"r r qth " + Town(a) + " " + Tnx(), RstSentence(a), NameSentence(b),
                           QthSentence(b), "condx poor hr", Seventy()},
                          a, b, "^sk"),
                     Words({Tnx(), "es 73", Call(b), "de", Call(a), "^sk"})});
    }

    std::string RagchewQrm() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " es tnx", RstSentence(b), NameSentence(a), QthSentence(a), "hw?"}, b, a),
             Words({Call(a), "de", Call(b), "r r sri hvy qrm", "pse agn name es qth", "^kn"}),
             Over({"name " + Twice(Name(a)), "qth " + Twice(Town(a)), "qrm getting bad"}, b, a),
             Over({"r all ok now", RstSentence(a), NameSentence(b), QthSentence(b), Seventy()}, a, b, "^sk"),
             Words({"tu", Name(b), "cu", "^sk e e"})});
    }

    std::string RagchewSorry() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Words({Call(a), "de", Call(b), Call(b), "k"}),
             Words({Call(b).substr(0, Call(b).size() - 1) + "?", "agn pse k"}),
             Words({Call(a), "de", Call(b), Call(b), Call(b), "k"}),
             Over({"r " + Call(b) + " sri abt that", RstSentence(b), NameSentence(a), QthSentence(a)}, b, a),
             Over({"r fb " + Name(a) + " no prob", RstSentence(a), NameSentence(b), QthSentence(b),
                   RigSentence(b), "hw?"},
                  a, b),
             Over({"r r tnx " + Name(b), "fb sig", Seventy()}, b, a, "^sk"),
             Words({"73", Name(a), "^sk e e"})});
    }

    std::string RagchewCorrectedHh() {
        const int a = Common(), b = Other(a);
        const std::string wrong = draw_.Word("559 449 339");
        const std::string right = draw_.Word("599 589 579");
        return Join({Cq(a), Answer(a, b),
                     Over({GreetingAndThanks() + " fer call",
                           "ur rst " + wrong + " ^hh ur rst " + right + " " + right, NameSentence(a),
                           QthSentence(a), "hw?"},
                          b, a),
                     Over({"r " + Name(a) + " tnx", RstSentence(a), NameSentence(b), QthSentence(b),
                           RigSentence(b), "btu"},
                          a, b),
                     Over({"fb " + Name(b), WxSentence(a), Seventy()}, b, a, "^sk"),
                     Words({"tu", Seventy(), "^sk"})});
    }

    std::string RagchewCorrectedE() {
        const int a = Common(), b = Other(a);
        const stations::Weather wx = maker_.WeatherFor(S(b), c_.month);
        const std::string said = wx.Spoken(S(b).entity->fahrenheit);
        const std::string sky = said.substr(0, said.find(" temp "));
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " es tnx", RstSentence(b), NameSentence(a), QthSentence(a)}, b, a),
             Over({"r tnx", RstSentence(a), NameSentence(b), QthSentence(b),
                   "wx " + sky + " temp " + draw_.Word("1 2 3") + " e e e wx " + Say(Kind::Weather, b, said),
                   "hw?"},
                  a, b),
             Over({"r r " + Name(b), WxSentence(a), "tnx fer qso", Seventy()}, b, a, "^sk"),
             Words({"r tu", Name(a), "73 ^sk"})});
    }

    std::string RagchewQrt() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " tnx call", RstSentence(b), NameSentence(a), QthSentence(a)}, b, a),
             Over({"r " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b), WxSentence(b)}, a, b),
             Over({"r r " + Name(b) + " sri must qrt now",
                   draw_.Phrase("dinner ready|xyl calls|wx bad|"
                                "lightning nr hr|time fer wrk"),
                   "tnx fer qso", Seventy()},
                  b, a, "^sk"),
             Words({"r fb", Name(a), "cul", Seventy(), "^sk e e"})});
    }

    std::string RagchewQsy() {
        const int a = Common(), b = Other(a);
        const std::string to = Freq();
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " es tnx", RstSentence(b), NameSentence(a), "qrm hr pse qsy " + to + "?"}, b,
                  a),
             Words({"r r qsy", to}), Words({Call(a), "de", Call(b), "qrv?"}),
             Over({"r fb now", QthSentence(a), "hw cpy?"}, b, a),
             Over({"r solid cpy", RstSentence(a), NameSentence(b), QthSentence(b), RigSentence(b), Seventy()},
                  a, b, "^sk"),
             Words({"tu", Name(b), "73 ^sk"})});
    }

    std::string RagchewNameTwice() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " tnx call", RstSentence(b), "name " + Name(a), QthSentence(a), "hw?"}, b, a),
             Words({Call(a), "de", Call(b), "r r name? name? ^kn"}),
             Words({Call(b), "de", Call(a), "name", Name(a), Name(a), Name(a), "^kn"}),
             Over({"r ok " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b), "hw?"}, a, b),
             Over({"r fb", Tnx() + " " + Name(b), Seventy()}, b, a, "^sk"), "73 ^sk e e"});
    }

    std::string RagchewQrz() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Words({Call(a), "de", Call(b)}), Words({"qrz? de", Call(a), "k"}),
             Words({Call(a), "de", Call(b), Call(b), Call(b), "k"}),
             Over({"r r " + Greeting(), RstSentence(b), NameSentence(a), QthSentence(a), "hw cpy?"}, b, a),
             Over({"r fb", RstSentence(a), NameSentence(b), QthSentence(b), Seventy()}, a, b, "^sk"),
             Words({"tu", Name(b), "^sk"})});
    }

    std::string RagchewCondx() {
        const int a = Common(), b = Other(a);
        const std::string band = band_.name;
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " es tnx", RstSentence(b), NameSentence(a), QthSentence(a),
                   band + " " + draw_.Phrase("open wide tdy|condx gud|condx up es dn|noisy tnt"), "hw?"},
                  b, a),
             Over({"r fb " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b),
                   "condx " + draw_.Word("ufb gud fair poor"), "hi hi", RigSentence(b)},
                  a, b),
             Over({"r r all cpy", "nice to wrk u on " + band, Seventy()}, b, a, "^sk"),
             Words({"tu", Seventy(), "^sk e e"})});
    }

    std::string RagchewAbbreviations() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " ot es tnx fer call", "ur sig rst " + Rst() + " ufb", NameSentence(a),
                   QthSentence(a), "stn hr " + Power(a) + " es " + AntennaSaid(a), "hw cpy?"},
                  b, a),
             Over({"r r solid cpy", "urs " + Rst(), "as u sed condx gud", NameSentence(b), QthSentence(b),
                   "rcvr hr homebrew", "wkg u wid " + Power(b) + " es " + AntennaSaid(b), "hw?"},
                  a, b),
             Over({"r r " + Name(b) + " tt ufb", "nil qrm hr", "gg now", "qsl tnx adr ok", Seventy()}, b, a,
                  "^sk"),
             Words({"r c", Name(a), "tu es 73 ^sk"})});
    }

    std::string RagchewDx() {
        const int a = Add(maker_.European());
        const int b = Add(draw_.Chance(50) ? maker_.Of(*stations::FindEntity("Japan"))
                                           : maker_.Of(*stations::FindEntity("Australia")));
        return Join(
            {Words({"cq dx cq dx de", Call(a), Call(a), "k"}), Answer(a, b),
             Over({Greeting() + " tnx fer call", RstSentence(b), NameSentence(a), QthSentence(a), "fb dx"}, b,
                  a),
             Over({"r r tnx " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b), RigSentence(b),
                   "path open", Seventy()},
                  a, b, "^sk"),
             Words({"tu", Name(b), "73 es gud dx ^sk"})});
    }

    std::string SlowSpeed() {
        const int a = Common(), b = Other(a);
        const std::string na = Name(a), ta = Town(a);
        return Join({Words({"cq cq cq de", Call(a), Call(a), Call(a), "pse qrs k"}),
                     Words({Call(a), "de", Call(b), Call(b), "k"}),
                     Over({Twice(Greeting()), "tnx tnx", RstSentence(b), "name " + na + " " + na + " " + na,
                           "qth " + ta + " " + ta, "hw? hw?"},
                          b, a),
                     Over({"r r", "tnx " + na, RstSentence(a), "name " + Name(b) + " " + Name(b),
                           "qth " + Town(b) + " " + Town(b), "new op hr", "pse qrs"},
                          a, b),
                     Over({"r fb", "ur cw is fine", "keep it up", "73 73"}, b, a, "^sk"),
                     Words({"tu tu 73 ^sk"})});
    }

    std::string Club(const char* club, int low, int high, const char* marks) {
        const int a = Common(), b = Other(a);
        auto number = [&] {
            std::string n = std::to_string(low + draw_.Below(high - low));
            if (*marks != '\0' && draw_.Chance(40))
                n += draw_.Word(marks);
            return n;
        };
        return Join({Words({"cq cq", club, "de", Call(a), Call(a), "k"}), Answer(a, b),
                     Over({Greeting() + " tnx", RstSentence(b), QthSentence(a), NameSentence(a),
                           std::string(club) + " nr " + number(), "hw?"},
                          b, a),
                     Over({"r r " + Name(a) + " fb", RstSentence(a), QthSentence(b), NameSentence(b),
                           std::string(club) + " nr " + number(), "tnx fer " + std::string(club), Seventy()},
                          a, b, "^sk"),
                     Words({"tu", Name(b), "73 ^sk"})});
    }
    std::string Skcc() { return Club("skcc", 100, 28000, "c t s"); }
    std::string Fists() { return Club("fists", 100, 20000, ""); }
    std::string Naqcc() { return Club("naqcc", 100, 12000, ""); }

    std::string QrpRagchew() {
        const int a = Common(), b = Other(a);
        M(a).watts = draw_.Pick(std::vector<int>{1, 2, 3, 5, 5});
        M(a).call += "/QRP";
        M(a).antenna = maker_.AnyAntenna(true);
        return Join({Words({"cq qrp cq qrp de", Call(a), Call(a), "k"}), Answer(a, b),
                     Over({Tnx() + " fer call", RstSentence(b), "rig " + Power(a) + " es " + AntennaSaid(a),
                           NameSentence(a), "hw?"},
                          b, a),
                     Over({"r fb " + Name(a) + " fb fer qrp", "ur rst " + Rst(true), NameSentence(b),
                           QthSentence(b), "72"},
                          a, b, "^sk"),
                     Words({"tu", Name(b), "72 ^sk e e"})});
    }

    std::string Visitor() {
        const int a = Common();
        // Only a full licence is recognised abroad.
        Station visitor = maker_.Any();
        while (visitor.format->maxWatts < 400)
            visitor = maker_.Any();
        maker_.MakeVisitor(visitor);
        const int b = Add(std::move(visitor));
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " tnx call", RstSentence(b), NameSentence(a), QthSentence(a), "hw?"}, b, a),
             Over({"r " + Name(a), RstSentence(a), NameSentence(b), "hr on holiday in " + Town(b),
                   RigSentence(b), "hw?"},
                  a, b),
             Over({"r fb " + Name(b) + " enjoy ur trip", Seventy()}, b, a, "^sk"), "tu 73 ^sk"});
    }

    std::string Sked() {
        const int a = Common(), b = Other(a);
        const std::string f = Freq();
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " es tnx", RstSentence(b), NameSentence(a), QthSentence(a)}, b, a),
             Over({"r " + Name(a), RstSentence(a), NameSentence(b), QthSentence(b), WxSentence(b)}, a, b),
             Over({"r fb", "sked tmw same time on " + f + "?"}, b, a),
             Over({"r ok sked " + f, "cuagn tmw", Seventy()}, a, b, "^sk"), "73 ^sk e e"});
    }

    std::string RagchewWeather() {
        const int a = Common(), b = Other(a);
        return Join(
            {Cq(a), Answer(a, b),
             Over({Greeting() + " tnx", RstSentence(b), NameSentence(a), QthSentence(a), WxSentence(a)}, b,
                  a),
             Over({"r " + Name(a) + " tnx fer wx", RstSentence(a), NameSentence(b), QthSentence(b),
                   WxSentence(b), AgeSentence(b)},
                  a, b),
             Over({"r r fb", AgeSentence(a), "tnx es " + Seventy()}, b, a, "^sk"), "tu ^sk e e"});
    }

    // --- Contests -------------------------------------------------------------------------

    std::string CqWw() {
        const int a = Common(), b = Other(a);
        return Join({"cq test " + Call(a) + " " + Call(a) + " test", Twice(Call(b)),
                     Words({Call(b), "5nn", ZoneSent(a, false)}), Words({"tu 5nn", ZoneSent(b, false)}),
                     "tu " + Call(a) + " test"});
    }
    std::string CqWwAgain() {
        const int a = Common(), b = Other(a);
        const std::string zone = ZoneSent(b, false);
        return Join({"cq test " + Call(a) + " test", Call(b), Words({Call(b), "5nn", ZoneSent(a, false)}),
                     Words({"tu 5nn", zone}), "agn?", Words({UncutDigits(zone), UncutDigits(zone)}),
                     "tu " + Call(a) + " test"});
    }
    std::string CqWwPartial() {
        const int a = Common(), b = Other(a);
        const std::string part = Call(b).substr(0, Call(b).size() - 2) + "?";
        return Join({"cq test " + Call(a) + " test", Call(b), part, Call(b) + " " + Call(b),
                     Words({Call(b), "5nn", ZoneSent(a, false)}), Words({"r 5nn", ZoneSent(b, false)}),
                     "tu " + Call(a)});
    }
    std::string ArrlDxPower(int i) {
        const int w = S(i).watts;
        if (w == 1000)
            return Say(Kind::Power, i, draw_.Word("kw kw 1000"));
        return Say(Kind::Power, i, Cut(std::to_string(w)));
    }
    std::string ArrlDxWRuns() {
        const int w = Na(), dx = Dx();
        return Join({"cq test " + Call(w) + " " + Call(w) + " test", Call(dx),
                     Words({Call(dx), "5nn", State(w)}), Words({"tu 5nn", ArrlDxPower(dx)}),
                     "tu " + Call(w) + " test"});
    }
    std::string ArrlDxDxRuns() {
        const int dx = Dx(), w = Na();
        return Join({"cq test " + Call(dx) + " " + Call(dx), Call(w),
                     Words({Call(w), "5nn", ArrlDxPower(dx)}), Words({"r 5nn", State(w), State(w)}),
                     "tu " + Call(dx)});
    }
    std::string Wpx() {
        const int a = Common(), b = Other(a);
        const int nr = 1 + draw_.Below(1500);
        return Join({"cq wpx " + Call(a) + " test", Call(b), Words({Call(b), "5nn", Cut(ThreeDigits(nr))}),
                     Words({"tu 5nn", Cut(ThreeDigits(1 + draw_.Below(900)))}), "tu " + Call(a)});
    }
    std::string WpxAgain() {
        const int a = Common(), b = Other(a);
        const std::string nr = Cut(ThreeDigits(1 + draw_.Below(1500)));
        return Join({"cq test " + Call(a) + " test", Call(b), Words({Call(b), "5nn", nr}), "nr?",
                     Words({nr, nr}), Words({"r tu 5nn", Cut(ThreeDigits(1 + draw_.Below(900)))}),
                     "tu " + Call(a) + " test"});
    }
    std::string Sweepstakes() {
        const int a = Na(), b = Na();
        auto exchange = [&](int i) {
            const int number = 1 + draw_.Below(900);
            const int w = S(i).watts;
            const std::string precedence = w <= 5 ? "q" : (w <= 150 ? "a" : "b");
            return Words({std::to_string(number), precedence, Call(i),
                          Say(Kind::Check, i, TwoDigits(S(i).YearLicensed() % 100)),
                          Say(Kind::Section, i, S(i).section)});
        };
        const std::string first = exchange(a);
        const std::string second = exchange(b);
        return Join({"cq ss " + Call(a) + " " + Call(a) + " ss", Call(b), Call(b) + " " + first,
                     "r " + second, "tu " + Call(a) + " ss"});
    }
    std::string FieldDayExchange(int i) {
        const std::string category = draw_.Word("a a a b d d e f c");
        const int most = category == "a" ? 6 : (category == "c" ? 1 : (category == "f" ? 3 : 2));
        const std::string cls = std::to_string(1 + draw_.Below(most)) + category;
        return Say(Kind::FieldDayClass, i, cls) + " " + Say(Kind::Section, i, S(i).section);
    }
    std::string FieldDay() {
        const int a = Na(), b = Na();
        const std::string first = FieldDayExchange(a);
        return Join({"cq fd cq fd de " + Call(a) + " " + Call(a) + " fd", Call(b), Call(b) + " " + first,
                     "r " + FieldDayExchange(b), "tu " + Call(a) + " fd"});
    }
    std::string FieldDayAgain() {
        const int a = Na(), b = Na();
        const std::string first = FieldDayExchange(a);
        const std::string section = S(b).section;
        return Join({"cq fd " + Call(a) + " fd", Call(b), Call(b) + " " + first, "r " + FieldDayExchange(b),
                     "sect?", section + " " + section, "tu " + Call(a) + " fd"});
    }
    std::string CwtExchange(int i, bool member) {
        if (member)
            return Name(i) + " " + std::to_string(1 + draw_.Below(3500));
        return Name(i) + " " + (S(i).NorthAmerican() ? State(i) : Lower(S(i).homeCall.substr(0, 2)));
    }
    std::string Cwt() {
        const int a = Common(), b = Other(a);
        const std::string first = CwtExchange(a, true);
        return Join({"cq cwt " + Call(a), Call(b), Call(b) + " " + first, "tu " + CwtExchange(b, true),
                     "tu " + Call(a) + " cwt"});
    }
    std::string CwtVisitor() {
        const int a = Common(), b = Other(a);
        const std::string first = CwtExchange(a, true);
        return Join({"cq cwt " + Call(a) + " " + Call(a), Call(b), Call(b) + " " + first,
                     "r " + CwtExchange(b, false), "tu " + Call(a)});
    }
    std::string Sst() {
        const int a = Na(), b = Common();
        const std::string where = S(b).NorthAmerican() ? State(b) : Lower(S(b).homeCall.substr(0, 2));
        return Join({"cq sst " + Call(a) + " " + Call(a), Call(b) + " " + Call(b),
                     Words({Call(b), Name(a), State(a)}), Words({"r tu", Name(b), where}),
                     Words({"tu", Name(b), "73", Call(a), "sst"})});
    }
    std::string Naqp() {
        const int a = Na(), b = Common();
        const std::string reply = S(b).NorthAmerican() ? Words({Name(b), State(b)}) : Name(b);
        return Join({"cq na " + Call(a), Call(b), Words({Call(b), Name(a), State(a)}), "tu " + reply,
                     "tu " + Call(a) + " na"});
    }
    std::string Iaru() {
        const int a = Common(), b = Other(a);
        return Join({"cq test " + Call(a) + " test", Call(b), Words({Call(b), "5nn", ZoneSent(a, true)}),
                     Words({"tu 5nn", ZoneSent(b, true)}), "tu " + Call(a)});
    }
    std::string IaruSearch() {
        const int a = Common(), b = Other(a);
        return Join({"cq iaru " + Call(a) + " " + Call(a), Call(b) + " " + Call(b),
                     Words({Call(b), "tu 5nn", ZoneSent(a, true)}), Words({"r 5nn", ZoneSent(b, true), "tu"}),
                     Call(a) + " iaru"});
    }
    std::string ContestDupe() {
        const int a = Common(), b = Other(a);
        return Join({"cq test " + Call(a) + " test", Call(b),
                     Words({Call(b), draw_.Phrase("qso b4|wkd b4"), "tu"}), "tu", "cq test " + Call(a)});
    }

    // --- DX -------------------------------------------------------------------------------

    std::string PileUp(int style) {
        const int dx = Add(maker_.Rare());
        const std::string split = draw_.Phrase("up|up 1|up 2|up 5|up 1 2|up 2 4");
        const std::string only = style == 2 ? draw_.Word("eu na ja") : "";
        std::string text = Words({"cq dx", Call(dx), Call(dx), split, only.empty() ? "" : only + " only"});
        const int callers = 2 + draw_.Below(3);
        for (int k = 0; k < callers; ++k) {
            int c;
            for (;;) {
                c = Common();
                const Station& s = S(c);
                const bool fits = only.empty() ||
                                  (only == "eu" && s.CqZone() >= 14 && s.CqZone() <= 16 &&
                                   std::string_view(s.entity->name) != "Asiatic Russia") ||
                                  (only == "na" && s.NorthAmerican()) ||
                                  (only == "ja" && std::string_view(s.entity->name) == "Japan");
                if (fits)
                    break;
                c_.stations.pop_back();
            }
            if (style == 1 && draw_.Chance(60)) {
                // Only part of the call came through.
                text += " " + Call(c) + " " + Call(c) + " " + Call(c).substr(0, Call(c).size() - 2) +
                        "? agn " + Twice(Call(c));
            } else {
                text += " " + Call(c);
            }
            text += " " + Call(c) + " 5nn " + (draw_.Chance(50) ? "5nn tu" : "r 5nn tu") + " " +
                    (k + 1 < callers ? "tu " + split : "tu " + Call(dx) + " " + split);
        }
        return text;
    }
    std::string PileUpSplit() { return PileUp(0); }
    std::string PileUpPartial() { return PileUp(1); }
    std::string PileUpArea() { return PileUp(2); }

    // --- Activations ----------------------------------------------------------------------

    std::string Park(int i) { return ParkPrefix(S(i)) + std::to_string(1 + draw_.Below(4000)); }
    int Activator() {
        for (;;) {
            Station s = draw_.Chance(70) ? maker_.NorthAmerican() : maker_.Any();
            if (!ParkPrefix(s).empty())
                return Add(std::move(s));
        }
    }
    std::string Pota() {
        const int a = Activator(), b = Other(a);
        const std::string where = S(b).NorthAmerican() ? Twice(State(b)) : "";
        return Join(
            {Words({"cq pota de", Call(a), Call(a), "k"}), Call(b),
             Words({Call(b), "tu ur", Twice(Rst()), S(a).NorthAmerican() ? Twice(State(a)) : "", "^bk"}),
             Words({"^bk r r tu ur", Twice(Rst()), where, "73 ^bk"}), "^bk tu 73 e e"});
    }
    std::string ParkToPark() {
        const int a = Activator(), b = Activator();
        const std::string park = Park(b);
        return Join({Words({"cq pota de", Call(a), Call(a), "k"}), Call(b) + " p2p",
                     Words({Call(b), "ur", Twice(Rst()), S(a).NorthAmerican() ? State(a) : "", "^bk"}),
                     Words({"^bk r r ur", Rst(), "p2p", park, park, "^bk"}),
                     Words({"^bk tnx p2p", Park(a), "73 e e"})});
    }
    const SotaRegion& SummitRegion() {
        return kSotaRegions[static_cast<std::size_t>(draw_.Below(static_cast<int>(kSotaRegions.size())))];
    }
    int SummitActivator(const SotaRegion& region) {
        const Entity& entity = *stations::FindEntity(region.entity);
        for (;;) {
            Station s = maker_.Of(entity);
            if (*region.digits == '\0' ||
                std::string_view(region.digits).find(s.digit) != std::string_view::npos) {
                s.call += "/P";
                s.watts = std::min(s.watts, 10);
                return Add(std::move(s));
            }
        }
    }
    std::string Summit(int i, const SotaRegion& region) {
        return Say(Kind::Summit, i, region.code + ThreeDigits(1 + draw_.Below(region.summits)));
    }
    std::string Sota() {
        const SotaRegion& region = SummitRegion();
        const int a = SummitActivator(region), b = Other(a);
        return Join({Words({"cq sota cq sota de", Call(a), Call(a), "k"}), Call(b),
                     Words({Call(b), Greeting(), "ur", Twice(Rst()), "ref", Summit(a, region), "^bk"}),
                     Words({"^bk r r tu ur", Twice(Rst(draw_.Chance(30))),
                            draw_.Phrase("73|tnx fer summit 73|gl 73"), "^bk"}),
                     "^bk tu 73 e e"});
    }
    std::string SummitToSummit() {
        const SotaRegion& region = SummitRegion();
        const int a = SummitActivator(region);
        const SotaRegion& other = SummitRegion();
        const int b = SummitActivator(other);
        const std::string summit = Summit(b, other);
        return Join({Words({"cq sota de", Call(a), Call(a), "k"}), Call(b) + " s2s",
                     Words({Call(b), "ur", Twice(Rst()), "ref", Summit(a, region), "^bk"}),
                     Words({"^bk r r ur", Twice(Rst()), "s2s ref", summit, summit, "^bk"}),
                     "^bk tu s2s 73 e e"});
    }

    // --- Nets and special events ------------------------------------------------------------

    std::string Net() {
        const int nc = Na();
        std::string text = Words({"qst qst qst de", Call(nc), Call(nc), "cw net now open", "qni pse", "^ar"});
        const int members = 2 + draw_.Below(3);
        for (int k = 0; k < members; ++k) {
            const int m = Na();
            text += " " + Words({Call(m), draw_.Chance(70) ? "qtc nil" : "qtc 1"});
            text += " " + Words({Call(m), "r", Greeting(), Name(m)});
        }
        text += " " + Words({"qni?", "nil", "net closed", Tnx(), "all", "73 de", Call(nc), "^sk"});
        return text;
    }

    std::string SpecialEvent() {
        const int a = Add(maker_.SpecialEvent()), b = Other(a);
        return Join({Words({"cq cq de", Call(a), Call(a), "special event k"}), Call(b),
                     Words({Call(b), "ur 5nn 5nn", "qth", Town(a), "special event stn", "qsl via lotw ^bk"}),
                     Words({"^bk r tu ur 5nn", S(b).NorthAmerican() ? State(b) : "", "73 ^bk"}),
                     Words({"tu 73", Call(a)})});
    }

    std::string MeetAgain() {
        const int a = Common(), b = Other(a);
        return Join(
            {Words({Call(b), "de", Call(a), Call(a), "k"}),
             Over({Greeting() + " " + Name(b) + " fb to cu agn", RstSentence(b),
                   "hw ur " + draw_.Word("xyl yl dog garden station tower") + "?"},
                  b, a),
             Over({"r r " + Name(a) + " all fine", RstSentence(a), WxSentence(b), RigSentence(b)}, a, b),
             Over({"fb", "cu nxt wk", Seventy()}, b, a, "^sk"), "73 ^sk"});
    }

    Draw draw_;
    StationMaker maker_;
    Contact c_;
    Band band_ = kBands.front();
};

const std::vector<QsoGenerator::Builder::NamedFrame>& QsoGenerator::Builder::Frames() {
    static const std::vector<NamedFrame> frames = {
        {"ragchew", &Builder::RagchewShort},
        {"cq ww", &Builder::CqWw},
        {"long ragchew", &Builder::RagchewLong},
        {"pile-up split", &Builder::PileUpSplit},
        {"ragchew with qsb", &Builder::RagchewFading},
        {"arrl dx, w runs", &Builder::ArrlDxWRuns},
        {"sota activation", &Builder::Sota},
        {"ragchew with qrm", &Builder::RagchewQrm},
        {"field day", &Builder::FieldDay},
        {"pota activation", &Builder::Pota},
        {"ragchew with sri", &Builder::RagchewSorry},
        {"wpx serials", &Builder::Wpx},
        {"cwt member", &Builder::Cwt},
        {"ragchew with hh", &Builder::RagchewCorrectedHh},
        {"slow-speed contact", &Builder::SlowSpeed},
        {"cq ww agn", &Builder::CqWwAgain},
        {"ragchew with e e e", &Builder::RagchewCorrectedE},
        {"sweepstakes", &Builder::Sweepstakes},
        {"skcc contact", &Builder::Skcc},
        {"pile-up partial call", &Builder::PileUpPartial},
        {"ragchew ends qrt", &Builder::RagchewQrt},
        {"arrl dx, dx runs", &Builder::ArrlDxDxRuns},
        {"park to park", &Builder::ParkToPark},
        {"ragchew with qsy", &Builder::RagchewQsy},
        {"sst", &Builder::Sst},
        {"ragchew name twice", &Builder::RagchewNameTwice},
        {"iaru hf", &Builder::Iaru},
        {"qrp ragchew", &Builder::QrpRagchew},
        {"cq ww partial call", &Builder::CqWwPartial},
        {"ragchew with qrz", &Builder::RagchewQrz},
        {"naqp", &Builder::Naqp},
        {"summit to summit", &Builder::SummitToSummit},
        {"ragchew on the band", &Builder::RagchewCondx},
        {"field day sect", &Builder::FieldDayAgain},
        {"visitor ragchew", &Builder::Visitor},
        {"wpx nr agn", &Builder::WpxAgain},
        {"fists contact", &Builder::Fists},
        {"dx ragchew", &Builder::RagchewDx},
        {"cwt non-member", &Builder::CwtVisitor},
        {"ragchew abbreviations", &Builder::RagchewAbbreviations},
        {"pile-up by area", &Builder::PileUpArea},
        {"net", &Builder::Net},
        {"naqcc contact", &Builder::Naqcc},
        {"iaru search", &Builder::IaruSearch},
        {"ragchew with sked", &Builder::Sked},
        {"special event", &Builder::SpecialEvent},
        {"contest dupe", &Builder::ContestDupe},
        {"ragchew weather", &Builder::RagchewWeather},
        {"meet again", &Builder::MeetAgain},
    };
    return frames;
}

const std::vector<std::string>& FrameNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& f : QsoGenerator::Builder::Frames())
            out.emplace_back(f.name);
        return out;
    }();
    return names;
}

QsoGenerator::QsoGenerator(std::uint32_t seed) : builder_(std::make_unique<Builder>(seed)) {}
QsoGenerator::~QsoGenerator() = default;

Contact QsoGenerator::Make(int frame) {
    return builder_->Make(frame);
}

Contact QsoGenerator::Next() {
    const int frame = builder_->draw().Below(static_cast<int>(FrameNames().size()));
    return builder_->Make(frame);
}

}  // namespace lumbrel::qsos
