#include "text/Callsigns.h"

#include <array>

namespace lumbrel::callsigns {
namespace {

// First names by language, for the name exchanged in a contact.
constexpr const char* kEnglishNames =
    "john bob tom jim mike dave ed ken bill rick steve paul gary dan joe al ron "
    "sue mary anne ruth lisa kate pete chris mark don";
constexpr const char* kGermanNames =
    "hans peter klaus uwe jan dieter wolf frank jens kurt udo ralf gerd karl "
    "heinz anke petra";
constexpr const char* kFrenchNames = "jean pierre michel alain marc luc paul eric yves guy anne";
constexpr const char* kItalianNames = "marco luca paolo gianni carlo franco enzo mario luigi sergio";
constexpr const char* kSpanishNames = "jose juan pepe luis carlos manolo pedro jorge pablo javi";
constexpr const char* kPortugueseNames = "joao paulo jose rui nuno luis carlos pedro";
constexpr const char* kNordicNames = "lars olle sven erik ole jan bjorn leif per nils kari";
constexpr const char* kSlavicNames = "jan ivan igor vlad sasha oleg yuri piotr pavel karel milan tomas vasil";
constexpr const char* kJapaneseNames = "taka hiro ken yuki shin koji masa nobu aki toshi";
constexpr const char* kOtherNames = "ali ben tony nick alex max sam leo omar david ivo ari jon";

// The amateur prefix blocks of the ITU allocations, in the call formats each country
// issues. Weights give the mix heard on the HF bands: many North American, European
// and Japanese stations, fewer from elsewhere, a rare one now and then.
constexpr std::array kBlocks = std::to_array<PrefixBlock>({
    // United States: 1x2 and 1x3 (and the 1x1 special-event calls), 2x1 and 2x2 of
    // AA to AK, 2x2 and 2x3 of the K, N and W two-letter prefixes.
    {"K W N", "0123456789", "12223333", 90, 0, "United States",
     "boston denver dallas austin chicago seattle portland atlanta miami phoenix omaha tulsa reno tampa",
     kEnglishNames},
    {"AA AB AC AD AE AF AG AI AJ AK", "0123456789", "1222", 25, 0, "United States",
     "boston denver dallas chicago seattle atlanta phoenix detroit", kEnglishNames},
    {"KA KB KC KD KE KF KG KI KJ KK KM KN KO KQ KR KS KT KU KV KW KX KY KZ NA NB NC ND NE NF NG NI NJ NK NM "
     "NN NO "
     "NQ NR NS NT NU NV NW NX NY NZ WA WB WC WD WE WF WG WI WJ WK WM WN WO WQ WR WS WT WU WV WW WX WY WZ",
     "0123456789", "2333", 50, 0, "United States",
     "boston denver dallas austin chicago seattle atlanta miami phoenix omaha memphis", kEnglishNames},
    {"KH6 AH6 NH6 WH6", "", "23", 3, 31, "Hawaii", "honolulu hilo kona", kEnglishNames},
    {"KL7 AL7 NL7 WL7", "", "23", 3, 1, "Alaska", "anchorage juneau fairbanks", kEnglishNames},
    {"KP4 NP4 WP4", "", "23", 3, 8, "Puerto Rico", "ponce mayaguez arecibo", kSpanishNames},
    // Canada.
    {"VE VA", "12345679", "233", 14, 0, "Canada", "toronto ottawa halifax regina calgary victoria montreal",
     kEnglishNames},
    {"VO", "12", "23", 2, 0, "Canada", "gander", kEnglishNames},
    {"VY", "1", "23", 2, 0, "Canada", "whitehorse", kEnglishNames},
    // Europe.
    {"G M", "034678", "33", 18, 14, "England", "leeds york bristol london norwich exeter oxford",
     kEnglishNames},
    {"2E", "01", "3", 4, 14, "England", "leeds york bristol london", kEnglishNames},
    {"GM MM", "034", "233", 5, 14, "Scotland", "glasgow perth dundee inverness", kEnglishNames},
    {"GW MW", "034", "233", 4, 14, "Wales", "cardiff swansea bangor", kEnglishNames},
    {"GI MI", "034", "233", 2, 14, "Northern Ireland", "belfast derry", kEnglishNames},
    {"EI", "23456789", "23", 4, 14, "Ireland", "dublin cork galway", kEnglishNames},
    {"DB DC DD DF DG DH DJ DK DL DM DO", "0123456789", "2333", 40, 14, "Germany",
     "berlin hamburg munich bonn kiel essen dresden leipzig bremen", kGermanNames},
    {"F", "1245689", "233", 16, 14, "France", "paris lyon nantes lille dijon nice brest", kFrenchNames},
    {"I", "12345678", "23", 4, 15, "Italy", "roma milano torino genova napoli", kItalianNames},
    {"IK IZ IW", "12345678", "3", 12, 15, "Italy", "roma milano torino bologna firenze bari", kItalianNames},
    {"EA EB EC", "1234567", "233", 14, 14, "Spain", "madrid sevilla valencia bilbao malaga murcia",
     kSpanishNames},
    {"CT CS", "127", "233", 4, 14, "Portugal", "lisboa porto braga faro", kPortugueseNames},
    {"ON OO OT", "1234789", "233", 6, 14, "Belgium", "gent brugge antwerpen liege", kGermanNames},
    {"PA PB PD PE PH", "0123456789", "233", 10, 14, "Netherlands", "utrecht delft leiden breda",
     kGermanNames},
    {"HB9", "", "233", 5, 14, "Switzerland", "bern zurich basel luzern", kGermanNames},
    {"OE", "123456789", "233", 6, 15, "Austria", "wien graz linz salzburg", kGermanNames},
    {"OZ OU OV", "123456789", "233", 5, 14, "Denmark", "odense aarhus aalborg", kNordicNames},
    {"SM SA SK", "01234567", "233", 7, 14, "Sweden", "lund umea malmo uppsala", kNordicNames},
    {"LA LB", "123456789", "23", 4, 14, "Norway", "oslo bergen tromso", kNordicNames},
    {"OH OG", "123456789", "233", 7, 15, "Finland", "espoo turku tampere oulu", kNordicNames},
    {"SP SQ SO", "123456789", "233", 12, 15, "Poland", "krakow gdansk poznan lodz", kSlavicNames},
    {"OK OL", "12", "233", 9, 15, "Czech Republic", "praha brno plzen", kSlavicNames},
    {"OM", "0123456789", "233", 4, 15, "Slovakia", "kosice nitra zilina", kSlavicNames},
    {"HA HG", "0123456789", "233", 6, 15, "Hungary", "pecs szeged gyor", kSlavicNames},
    {"S5", "0123456789", "23", 4, 15, "Slovenia", "ljubljana maribor", kSlavicNames},
    {"9A", "123456789", "233", 5, 15, "Croatia", "zagreb split rijeka", kSlavicNames},
    {"YU YT", "1234567", "233", 4, 15, "Serbia", "nis novi", kSlavicNames},
    {"LZ", "123456789", "233", 5, 20, "Bulgaria", "sofia varna plovdiv", kSlavicNames},
    {"YO", "23456789", "233", 6, 20, "Romania", "arad cluj iasi", kSlavicNames},
    {"SV SW SZ", "1234678", "233", 4, 20, "Greece", "athens patra larisa", kOtherNames},
    {"UA RA RV RW RX RZ", "0123456789", "233", 20, 0, "Russia", "moscow kazan omsk perm samara tver",
     kSlavicNames},
    {"UR US UT UX UY", "0123456789", "233", 10, 16, "Ukraine", "kyiv lviv odesa", kSlavicNames},
    {"LY", "12345", "233", 3, 15, "Lithuania", "vilnius kaunas", kSlavicNames},
    {"YL", "23", "233", 2, 15, "Latvia", "riga", kSlavicNames},
    {"ES", "12345678", "233", 3, 15, "Estonia", "tartu tallinn", kNordicNames},
    {"TA TC", "1234", "233", 3, 20, "Turkey", "izmir ankara bursa", kOtherNames},
    {"4X 4Z", "1456", "23", 3, 20, "Israel", "haifa eilat", kOtherNames},
    {"5B", "4", "23", 2, 20, "Cyprus", "limassol larnaca", kOtherNames},
    // Asia and the Pacific.
    {"JA JE JF JG JH JI JJ JK JL JM JN JO JP JQ JR JS", "0123456789", "2333", 30, 25, "Japan",
     "tokyo osaka kyoto nagoya sendai sapporo kobe", kJapaneseNames},
    {"7K 7L 7M 7N", "1234", "3", 4, 25, "Japan", "tokyo yokohama chiba", kJapaneseNames},
    {"HL DS", "12345", "233", 4, 25, "South Korea", "seoul busan daegu", kOtherNames},
    {"BA BD BG BH", "123456789", "233", 5, 24, "China", "beijing shanghai wuhan", kOtherNames},
    {"VU", "23", "233", 3, 22, "India", "delhi pune chennai", kOtherNames},
    {"DU DV DW", "1234789", "233", 2, 27, "Philippines", "manila cebu", kOtherNames},
    {"UN", "456789", "233", 2, 17, "Kazakhstan", "almaty astana", kSlavicNames},
    {"VK", "12345678", "233", 12, 0, "Australia", "sydney perth hobart darwin melbourne brisbane",
     kEnglishNames},
    {"ZL", "1234", "233", 5, 32, "New Zealand", "auckland nelson dunedin", kEnglishNames},
    // The Americas.
    {"XE XF", "123", "233", 3, 6, "Mexico", "puebla monterrey merida", kSpanishNames},
    {"PY PP PU", "0123456789", "233", 8, 11, "Brazil", "recife curitiba santos natal", kPortugueseNames},
    {"LU LW", "123456789", "233", 5, 13, "Argentina", "rosario cordoba mendoza", kSpanishNames},
    {"CE CA", "12345678", "233", 3, 12, "Chile", "santiago valparaiso", kSpanishNames},
    {"CX", "1234567", "23", 2, 13, "Uruguay", "montevideo", kSpanishNames},
    {"OA", "1234", "23", 2, 10, "Peru", "lima cusco", kSpanishNames},
    {"YV", "12345", "23", 2, 9, "Venezuela", "caracas", kSpanishNames},
    // Africa.
    {"ZS ZR ZU", "123456", "233", 4, 38, "South Africa", "durban pretoria", kEnglishNames},
    {"CN", "28", "23", 2, 33, "Morocco", "rabat agadir", kOtherNames},
    // Rarer ones, worked through pile-ups.
    {"3D2", "", "2", 1, 32, "Fiji", "suva", kOtherNames},
    {"VP8", "", "23", 1, 13, "Falkland Islands", "stanley", kEnglishNames},
    {"ZD7", "", "12", 1, 36, "St Helena", "jamestown", kEnglishNames},
    {"VP9", "", "23", 1, 5, "Bermuda", "hamilton", kEnglishNames},
    {"ZF2", "", "2", 1, 8, "Cayman Islands", "georgetown", kEnglishNames},
    {"C6A", "", "23", 1, 8, "Bahamas", "nassau", kEnglishNames},
    {"8P6", "", "2", 1, 8, "Barbados", "bridgetown", kEnglishNames},
    {"9Y4", "", "2", 1, 9, "Trinidad and Tobago", "arima", kEnglishNames},
    {"TF", "123", "23", 1, 40, "Iceland", "reykjavik", kNordicNames},
    {"OX", "3", "23", 1, 40, "Greenland", "nuuk", kNordicNames},
    {"OY", "1", "23", 1, 14, "Faroe Islands", "torshavn", kNordicNames},
    {"JW", "5789", "2", 1, 40, "Svalbard", "longyearbyen", kNordicNames},
    {"9H", "1", "23", 1, 15, "Malta", "valletta", kOtherNames},
    {"EA8", "", "233", 2, 33, "Canary Islands", "tenerife arona", kSpanishNames},
    {"CT3", "", "23", 1, 33, "Madeira", "funchal", kPortugueseNames},
    {"A7", "1", "23", 1, 21, "Qatar", "doha", kOtherNames},
    {"5Z", "4", "23", 1, 37, "Kenya", "nairobi", kEnglishNames},
    {"V5", "1", "23", 1, 38, "Namibia", "windhoek", kEnglishNames},
    {"SU", "19", "23", 1, 34, "Egypt", "cairo", kOtherNames},
});

}  // namespace

std::span<const PrefixBlock> PrefixBlocks() {
    return kBlocks;
}

CallsignMaker::CallsignMaker(Draw& draw) : draw_(draw) {
    for (const PrefixBlock& block : kBlocks)
        total_ += block.weight;
}

const PrefixBlock& CallsignMaker::AnyBlock() {
    int at = draw_.Below(total_);
    for (const PrefixBlock& block : kBlocks) {
        if (at < block.weight)
            return block;
        at -= block.weight;
    }
    return kBlocks.front();
}

Callsign CallsignMaker::Call(const PrefixBlock& block) {
    Callsign s;
    s.block = &block;
    std::string call = draw_.Word(block.prefixes);
    const std::string_view digits = block.digits;
    if (!digits.empty()) {
        s.digit = digits[static_cast<std::size_t>(draw_.Below(static_cast<int>(digits.size())))];
        call += s.digit;
    } else {
        s.digit = call.back();
    }
    const std::string_view lengths = block.lengths;
    const int length = lengths[static_cast<std::size_t>(draw_.Below(static_cast<int>(lengths.size())))] - '0';
    for (int i = 0; i < length; ++i) {
        // No suffix begins with Q: those would read as Q codes.
        const int letter = i == 0 ? draw_.Below(25) : draw_.Below(26);
        call += static_cast<char>('A' + (i == 0 && letter >= 16 ? letter + 1 : letter));
    }
    // No suffix that reads as a distress call or a rude word.
    for (const char* avoided : {"SOS", "SEX", "ASS"}) {
        if (call.size() > 3 && call.compare(call.size() - 3, 3, avoided) == 0)
            call.back() = 'Z';
    }
    s.call = call;
    return s;
}

const PrefixBlock* CallsignMaker::Decorate(Callsign& s) {
    const int kind = draw_.Below(10);
    if (kind < 5) {
        s.call += "/P";
    } else if (kind < 7) {
        s.call += "/QRP";
    } else if (kind < 8) {
        s.call += "/M";
    } else {
        // Abroad: the host country's prefix (and call area) first.
        const PrefixBlock& host = CommonBlockOtherThan(*s.block);
        std::string prefix = draw_.Word(host.prefixes);
        const std::string_view digits = host.digits;
        if (!digits.empty())
            prefix += digits[static_cast<std::size_t>(draw_.Below(static_cast<int>(digits.size())))];
        s.call = prefix + "/" + s.call;
        return &host;
    }
    return nullptr;
}

const PrefixBlock& CallsignMaker::CommonBlockOtherThan(const PrefixBlock& block) {
    for (;;) {
        const PrefixBlock& host = AnyBlock();
        if (&host != &block && std::string_view(host.entity) != block.entity)
            return host;
    }
}

std::string CallsignMaker::Next() {
    Callsign s = Call(AnyBlock());
    if (draw_.Chance(kDecoratedPercent))
        Decorate(s);
    return s.call;
}

}  // namespace lumbrel::callsigns
