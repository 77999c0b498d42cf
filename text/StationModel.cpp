// The entity names, prefixes and the CQ and ITU zones per call area below are taken
// from the country file cty.dat (country-files.com), which carries this notice:
//
//   Copyright (c) 1994- Jim Reisert AD1C
//
//   Permission is hereby granted, free of charge, to any person obtaining a copy of this
//   software and associated documentation files (the "Software"), to deal in the Software
//   without restriction, including without limitation the rights to use, copy, modify,
//   merge, publish, distribute, sublicense, and/or sell copies of the Software, and to
//   permit persons to whom the Software is furnished to do so, subject to the following
//   conditions:
//
//   The above copyright notice and this permission notice shall be included in all copies
//   or substantial portions of the Software.
//
//   THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,
//   INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A
//   PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT
//   HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF
//   CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE
//   OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
//
// The towns per call area, names, licence classes and climates are this model's own.
#include "text/StationModel.h"

#include <array>

namespace lumbrel::stations {
namespace {

// --- Call areas and formats -------------------------------------------------------------

constexpr std::array kUsAreas = std::to_array<CallArea>({
    {"0", "denver:co:co omaha:ne:ne wichita:ks:ks fargo:nd:nd topeka:ks:ks duluth:mn:mn stlouis:mo:mo", 4, 7},
    {"1",
     "boston:ma:ema hartford:ct:ct concord:nh:nh burlington:vt:vt providence:ri:ri bangor:me:me "
     "springfield:ma:wma",
     5, 8},
    {"2", "albany:ny:eny buffalo:ny:wny rochester:ny:wny trenton:nj:snj newark:nj:nnj", 5, 8},
    {"3", "pittsburgh:pa:wpa philadelphia:pa:epa baltimore:md:mdc dover:de:de harrisburg:pa:epa", 5, 8},
    {"4",
     "atlanta:ga:ga miami:fl:sfl tampa:fl:wcf nashville:tn:tn raleigh:nc:nc louisville:ky:ky "
     "richmond:va:va charleston:sc:sc mobile:al:al",
     5, 8},
    {"5",
     "dallas:tx:ntx austin:tx:stx houston:tx:stx tulsa:ok:ok albuquerque:nm:nm jackson:ms:ms "
     "shreveport:la:la lubbock:tx:wtx",
     4, 7},
    {"6", "fresno:ca:sjv sacramento:ca:sv oakland:ca:eb pasadena:ca:lax anaheim:ca:org", 3, 6},
    {"7",
     "seattle:wa:wwa spokane:wa:ewa portland:or:or reno:nv:nv phoenix:az:az boise:id:id tucson:az:az "
     "helena:mt:mt",
     3, 6},
    {"8", "detroit:mi:mi columbus:oh:oh cleveland:oh:oh wheeling:wv:wv", 4, 8},
    {"9", "chicago:il:il milwaukee:wi:wi indianapolis:in:in madison:wi:wi", 4, 8},
});
// KG4 is left out: the country file places KG4 calls at Guantanamo Bay.
constexpr std::array kUsFormats = std::to_array<CallFormat>({
    {"K W N", "", "2", 1500, 8, "extra"},
    {"AA AB AC AD AE AF AG AI AJ AK", "", "12", 1500, 10, "extra"},
    {"KA KB KC KD KE KF KI KJ KK KM KN KO KQ KR KS KT KU KV KW KX KY KZ NA NB NC ND NE NF NG NI NJ NK NM NN "
     "NO "
     "NQ NR NS NT NU NV NW NX NY NZ WA WB WC WD WE WF WG WI WJ WK WM WN WO WQ WR WS WT WU WV WW WX WY WZ",
     "", "1", 1500, 10, "extra"},
    {"K W N", "", "3", 1500, 22, "general"},
    {"KA KB KC KD KE KF KI KJ KK KM KN KO KQ KR KS KT KU KV KW KX KY KZ NA NB NC ND NE NF NG NI NJ NK NM "
     "NN NO NQ NR NS NT NU NV NW NX NY NZ WA WB WC WD WE WF WG WI WJ WK WM WN WO WQ WR WS WT WU WV WW WX WY "
     "WZ",
     "", "3", 1500, 40, "general"},
    {"KA KB KC KD KE KF KI KJ KK KM KN KO KQ KR KS KT KU KV KW KX KY KZ", "", "3", 200, 10, "technician"},
});
// The 1x1 special-event calls.
constexpr std::array kUsSpecialFormats = std::to_array<CallFormat>({
    {"K W N", "", "1", 1500, 1, "special event"},
});

constexpr std::array kCanadianAreas = std::to_array<CallArea>({
    {"1", "halifax:ns:ns sydney:ns:ns truro:ns:ns", 5, 9},
    {"2", "montreal:qc:qc quebec:qc:qc sherbrooke:qc:qc", 5, 4},
    {"3", "toronto:on:gh ottawa:on:one kingston:on:one sudbury:on:onn london:on:ons windsor:on:ons", 4, 4},
    {"4", "winnipeg:mb:mb brandon:mb:mb", 4, 3},
    {"5", "regina:sk:sk saskatoon:sk:sk", 4, 3},
    {"6", "calgary:ab:ab edmonton:ab:ab", 4, 2},
    {"7", "vancouver:bc:bc victoria:bc:bc kelowna:bc:bc", 3, 2},
    {"9", "moncton:nb:nb fredericton:nb:nb", 5, 9},
});
constexpr std::array kCanadianFormats = std::to_array<CallFormat>({
    {"VE VA", "", "23", 1000, 10, "advanced"},
    {"VE VA", "", "3", 250, 4, "basic"},
});

constexpr std::array kHawaiiAreas = std::to_array<CallArea>({{"6", "honolulu hilo kona", 31, 61}});
constexpr std::array kHawaiiFormats =
    std::to_array<CallFormat>({{"KH AH NH WH", "", "23", 1500, 1, "general"}});
constexpr std::array kAlaskaAreas = std::to_array<CallArea>({{"7", "anchorage juneau fairbanks", 1, 1}});
constexpr std::array kAlaskaFormats =
    std::to_array<CallFormat>({{"KL AL NL WL", "", "23", 1500, 1, "general"}});
constexpr std::array kPuertoRicoAreas = std::to_array<CallArea>({{"4", "ponce mayaguez arecibo", 8, 11}});
constexpr std::array kPuertoRicoFormats =
    std::to_array<CallFormat>({{"KP NP WP", "", "23", 1500, 1, "general"}});

constexpr std::array kEnglandAreas = std::to_array<CallArea>({
    {"0123456789", "leeds york bristol london norwich exeter oxford derby bath", 14, 27},
});
constexpr std::array kEnglandFormats = std::to_array<CallFormat>({
    {"G", "01234", "3", 1000, 10, "full"},
    {"M", "015", "3", 1000, 8, "full"},
    {"2E", "01", "3", 100, 3, "intermediate"},
    {"M", "367", "3", 25, 3, "foundation"},
});
constexpr std::array kScotlandAreas = std::to_array<CallArea>({
    {"0123456789", "glasgow perth dundee inverness aberdeen stirling", 14, 27},
});
constexpr std::array kScotlandFormats = std::to_array<CallFormat>({
    {"GM", "01234", "3", 1000, 6, "full"},
    {"MM", "015", "3", 1000, 4, "full"},
    {"2M", "01", "3", 100, 1, "intermediate"},
    {"MM", "367", "3", 25, 2, "foundation"},
});
constexpr std::array kWalesAreas = std::to_array<CallArea>({
    {"0123456789", "cardiff swansea bangor wrexham aberystwyth", 14, 27},
});
constexpr std::array kWalesFormats = std::to_array<CallFormat>({
    {"GW", "01234", "3", 1000, 5, "full"},
    {"MW", "015", "3", 1000, 3, "full"},
    {"MW", "367", "3", 25, 2, "foundation"},
});
constexpr std::array kIrelandAreas =
    std::to_array<CallArea>({{"23456789", "dublin cork galway limerick sligo", 14, 27}});
constexpr std::array kIrelandFormats = std::to_array<CallFormat>({{"EI", "", "23", 400, 1, "full"}});

constexpr std::array kGermanAreas = std::to_array<CallArea>({
    {"0123456789", "berlin hamburg munchen bonn kiel essen dresden leipzig bremen kassel ulm", 14, 28},
});
constexpr std::array kGermanFormats = std::to_array<CallFormat>({
    {"DL DK DJ DF DH DG DB DC DD DM", "123456789", "3", 750, 10, "class a"},
    {"DL DK DJ", "123456789", "2", 750, 3, "class a"},
    {"DO", "123456789", "3", 100, 3, "class e"},
});
constexpr std::array kDutchAreas = std::to_array<CallArea>({
    {"0123456789", "utrecht delft leiden breda zwolle groningen arnhem", 14, 27},
});
constexpr std::array kDutchFormats = std::to_array<CallFormat>({
    {"PA PE PH PB", "0123456789", "23", 400, 6, "full"},
    {"PD", "0123456789", "23", 100, 3, "novice"},
});
constexpr std::array kBelgianAreas =
    std::to_array<CallArea>({{"0123456789", "gent brugge antwerpen leuven hasselt", 14, 27}});
constexpr std::array kBelgianFormats =
    std::to_array<CallFormat>({{"ON", "4567", "23", 1000, 1, "harec"}, {"ON", "3", "3", 100, 1, "basic"}});
constexpr std::array kFrenchAreas = std::to_array<CallArea>({
    {"0123456789", "paris lyon nantes lille dijon brest rennes tours nancy", 14, 27},
});
constexpr std::array kFrenchFormats = std::to_array<CallFormat>({{"F", "14568", "23", 500, 1, "harec"}});
constexpr std::array kSwissAreas =
    std::to_array<CallArea>({{"9", "bern zurich basel luzern winterthur", 14, 28}});
constexpr std::array kSwissFormats = std::to_array<CallFormat>({{"HB", "", "23", 1000, 1, "harec"}});
constexpr std::array kAustrianAreas = std::to_array<CallArea>({
    {"1", "wien", 15, 28},
    {"2", "salzburg hallein", 15, 28},
    {"3", "krems amstetten", 15, 28},
    {"4", "eisenstadt", 15, 28},
    {"5", "linz wels steyr", 15, 28},
    {"6", "graz leoben", 15, 28},
    {"7", "innsbruck kufstein", 15, 28},
    {"8", "klagenfurt villach", 15, 28},
    {"9", "bregenz dornbirn", 15, 28},
});
constexpr std::array kAustrianFormats = std::to_array<CallFormat>({{"OE", "", "23", 1000, 1, "class 1"}});
constexpr std::array kDanishAreas =
    std::to_array<CallArea>({{"0123456789", "odense aarhus aalborg esbjerg", 14, 18}});
constexpr std::array kDanishFormats = std::to_array<CallFormat>(
    {{"OZ", "123456789", "23", 1000, 3, "a"}, {"OU OV", "123456789", "3", 100, 1, "b"}});
constexpr std::array kSwedishAreas = std::to_array<CallArea>({
    {"0", "stockholm", 14, 18},
    {"2", "umea lulea", 14, 18},
    {"3", "sundsvall gavle", 14, 18},
    {"4", "orebro karlstad falun", 14, 18},
    {"5", "uppsala vasteras linkoping", 14, 18},
    {"6", "goteborg boras", 14, 18},
    {"7", "malmo lund vaxjo", 14, 18},
});
constexpr std::array kSwedishFormats =
    std::to_array<CallFormat>({{"SM SA", "", "23", 1000, 3, "full"}, {"SA SB", "", "3", 200, 1, "full"}});
constexpr std::array kFinnishAreas = std::to_array<CallArea>({
    {"1", "turku pori", 15, 18},
    {"2", "helsinki espoo", 15, 18},
    {"3", "tampere lahti", 15, 18},
    {"5", "kotka lappeenranta", 15, 18},
    {"6", "vaasa jyvaskyla", 15, 18},
    {"7", "kuopio joensuu", 15, 18},
    {"8", "oulu kajaani", 15, 18},
    {"9", "rovaniemi", 15, 18},
});
constexpr std::array kFinnishFormats = std::to_array<CallFormat>({{"OH OG", "", "23", 1500, 1, "general"}});
constexpr std::array kPolishAreas = std::to_array<CallArea>({
    {"1", "szczecin koszalin", 15, 28},
    {"2", "gdansk bydgoszcz torun", 15, 28},
    {"3", "poznan", 15, 28},
    {"4", "bialystok olsztyn", 15, 28},
    {"5", "warszawa", 15, 28},
    {"6", "wroclaw opole", 15, 28},
    {"7", "lodz kielce", 15, 28},
    {"8", "lublin rzeszow", 15, 28},
    {"9", "krakow katowice", 15, 28},
});
constexpr std::array kPolishFormats = std::to_array<CallFormat>({{"SP SQ SO", "", "23", 500, 1, "a"}});
constexpr std::array kCzechAreas = std::to_array<CallArea>({
    {"1", "praha plzen liberec", 15, 28},
    {"2", "brno ostrava olomouc", 15, 28},
});
constexpr std::array kCzechFormats = std::to_array<CallFormat>({{"OK OL", "", "3", 750, 1, "a"}});
constexpr std::array kHungarianAreas =
    std::to_array<CallArea>({{"0123456789", "pecs szeged gyor debrecen", 15, 28}});
constexpr std::array kHungarianFormats = std::to_array<CallFormat>({{"HA HG", "", "23", 1500, 1, "harec"}});
constexpr std::array kCroatianAreas =
    std::to_array<CallArea>({{"123456789", "zagreb split rijeka osijek", 15, 28}});
constexpr std::array kCroatianFormats = std::to_array<CallFormat>({{"9A", "", "23", 1500, 1, "a"}});
constexpr std::array kSlovenianAreas =
    std::to_array<CallArea>({{"0123456789", "ljubljana maribor celje", 15, 28}});
constexpr std::array kSlovenianFormats = std::to_array<CallFormat>({{"S5", "", "23", 1500, 1, "a"}});
constexpr std::array kItalianAreas = std::to_array<CallArea>({
    {"1", "torino genova aosta", 15, 28},
    {"2", "milano bergamo brescia", 15, 28},
    {"3", "venezia verona padova trieste", 15, 28},
    {"4", "bologna parma modena", 15, 28},
    {"5", "firenze pisa livorno", 15, 28},
    {"6", "ancona pescara", 15, 28},
    {"7", "bari lecce taranto", 15, 28},
    {"8", "napoli salerno", 15, 28},
});
constexpr std::array kItalianFormats = std::to_array<CallFormat>(
    {{"IK IZ IW", "", "3", 500, 5, "ordinary"}, {"I", "", "23", 500, 1, "ordinary"}});
constexpr std::array kSpanishAreas = std::to_array<CallArea>({
    {"1", "oviedo santander leon burgos vigo", 14, 37},
    {"2", "bilbao pamplona zaragoza", 14, 37},
    {"3", "barcelona girona tarragona", 14, 37},
    {"4", "madrid toledo caceres", 14, 37},
    {"5", "valencia alicante murcia", 14, 37},
    {"7", "sevilla malaga granada cordoba", 14, 37},
});
constexpr std::array kSpanishFormats =
    std::to_array<CallFormat>({{"EA EB EC", "", "23", 1000, 1, "general"}});
constexpr std::array kBalearicAreas = std::to_array<CallArea>({{"6", "palma ibiza mahon", 14, 37}});
constexpr std::array kCanaryAreas = std::to_array<CallArea>({{"8", "tenerife arona telde", 33, 36}});
constexpr std::array kPortugueseAreas =
    std::to_array<CallArea>({{"127", "lisboa porto braga faro coimbra", 14, 37}});
constexpr std::array kPortugueseFormats = std::to_array<CallFormat>({{"CT CS", "", "23", 1500, 1, "a"}});
constexpr std::array kMadeiraAreas = std::to_array<CallArea>({{"3", "funchal", 33, 36}});
constexpr std::array kMadeiraFormats = std::to_array<CallFormat>({{"CT", "", "23", 1500, 1, "a"}});
constexpr std::array kGreekAreas = std::to_array<CallArea>(
    {{"1", "athens piraeus", 20, 28}, {"2", "thessaloniki", 20, 28}, {"3", "patra", 20, 28}});
constexpr std::array kGreekFormats = std::to_array<CallFormat>({{"SV", "", "23", 1000, 1, "a"}});
constexpr std::array kBulgarianAreas =
    std::to_array<CallArea>({{"123456789", "sofia varna plovdiv burgas", 20, 28}});
constexpr std::array kBulgarianFormats = std::to_array<CallFormat>({{"LZ", "", "23", 1000, 1, "1st"}});
constexpr std::array kRomanianAreas =
    std::to_array<CallArea>({{"23456789", "arad cluj iasi brasov timisoara", 20, 28}});
constexpr std::array kRomanianFormats = std::to_array<CallFormat>({{"YO", "", "23", 1000, 1, "a"}});
constexpr std::array kLithuanianAreas =
    std::to_array<CallArea>({{"12345", "vilnius kaunas klaipeda", 15, 29}});
constexpr std::array kLithuanianFormats = std::to_array<CallFormat>({{"LY", "", "23", 1000, 1, "a"}});
constexpr std::array kLatvianAreas = std::to_array<CallArea>({{"23", "riga liepaja", 15, 29}});
constexpr std::array kLatvianFormats = std::to_array<CallFormat>({{"YL", "", "23", 1000, 1, "a"}});
constexpr std::array kEstonianAreas = std::to_array<CallArea>({{"12345678", "tartu tallinn parnu", 15, 29}});
constexpr std::array kEstonianFormats = std::to_array<CallFormat>({{"ES", "", "23", 1000, 1, "a"}});
// European Russia: the first letter of the suffix names the region.
constexpr std::array kEuropeanRussianAreas = std::to_array<CallArea>({
    {"1", "petersburg/A vologda/Q", 16, 29},
    {"1", "murmansk/Z", 16, 19},
    {"3", "moscow/A tver/I kursk/W", 16, 29},
    {"4", "kazan/P saratov/C", 16, 29},
    {"4", "samara/H", 16, 30},
    {"6", "rostov/L krasnodar/A stavropol/H", 16, 29},
});
constexpr std::array kEuropeanRussianFormats = std::to_array<CallFormat>({
    {"UA RA RV RW RX RZ RN RK", "", "23", 1000, 1, "1st"},
});
constexpr std::array kAsiaticRussianAreas = std::to_array<CallArea>({
    {"9", "ekaterinburg/C chelyabinsk/A omsk/M", 17, 30},
    {"9", "novosibirsk/O", 18, 31},
});
constexpr std::array kAsiaticRussianFormats = std::to_array<CallFormat>({
    {"UA RA RV RW RX RZ RN RK", "", "3", 1000, 1, "1st"},
});
constexpr std::array kJapaneseAreas = std::to_array<CallArea>({
    {"1", "tokyo yokohama chiba", 25, 45},
    {"2", "nagoya shizuoka", 25, 45},
    {"3", "osaka kyoto kobe", 25, 45},
    {"4", "hiroshima okayama", 25, 45},
    {"5", "matsuyama takamatsu", 25, 45},
    {"6", "fukuoka kumamoto", 25, 45},
    {"7", "sendai aomori", 25, 45},
    {"8", "sapporo hakodate", 25, 45},
    {"9", "kanazawa toyama", 25, 45},
    {"0", "niigata nagano", 25, 45},
});
constexpr std::array kJapaneseFormats = std::to_array<CallFormat>({
    {"JA JE JF JG JH JI JJ JK JL JM JN JO JP JQ JR JS", "", "23", 1000, 6, "1st"},
    {"JA JE JF JG JH JI JJ JK JL JM JN JO JP JQ JR JS", "", "3", 200, 4, "2nd"},
    {"7K 7L 7M 7N", "1", "3", 50, 2, "3rd"},
});
constexpr std::array kAustralianAreas = std::to_array<CallArea>({
    {"1", "canberra", 30, 59},
    {"2", "sydney newcastle wollongong", 30, 59},
    {"3", "melbourne geelong ballarat", 30, 59},
    {"4", "brisbane cairns townsville", 30, 55},
    {"5", "adelaide", 30, 59},
    {"6", "perth bunbury", 29, 58},
    {"7", "hobart launceston", 30, 59},
    {"8", "darwin", 29, 55},
});
constexpr std::array kAustralianFormats = std::to_array<CallFormat>({
    {"VK", "", "23", 400, 6, "advanced"},
    {"VK", "", "4", 10, 2, "foundation", 'F'},
});
constexpr std::array kNewZealandAreas = std::to_array<CallArea>({
    {"1", "auckland hamilton whangarei", 32, 60},
    {"2", "wellington napier nelson", 32, 60},
    {"3", "christchurch timaru", 32, 60},
    {"4", "dunedin invercargill", 32, 60},
});
constexpr std::array kNewZealandFormats = std::to_array<CallFormat>({{"ZL", "", "23", 1000, 1, "general"}});
constexpr std::array kBrazilianAreas = std::to_array<CallArea>({
    {"1", "niteroi petropolis", 11, 15},
    {"2", "campinas santos", 11, 15},
    {"3", "pelotas canoas", 11, 15},
    {"4", "uberlandia juiz", 11, 15},
    {"5", "curitiba joinville", 11, 15},
});
constexpr std::array kBrazilianFormats = std::to_array<CallFormat>({{"PY PU", "", "23", 1000, 1, "a"}});
constexpr std::array kChileanAreas = std::to_array<CallArea>({
    {"1", "antofagasta iquique", 12, 14},
    {"2", "valparaiso", 12, 14},
    {"3", "santiago", 12, 14},
    {"5", "concepcion", 12, 14},
});
constexpr std::array kChileanFormats = std::to_array<CallFormat>({{"CE CA", "", "23", 1000, 1, "superior"}});
constexpr std::array kSouthAfricanAreas = std::to_array<CallArea>({
    {"1", "stellenbosch george", 38, 57},
    {"4", "bloemfontein", 38, 57},
    {"5", "durban pietermaritzburg", 38, 57},
    {"6", "pretoria johannesburg", 38, 57},
});
constexpr std::array kSouthAfricanFormats = std::to_array<CallFormat>({{"ZS", "", "23", 400, 1, "a"}});
constexpr std::array kMexicanAreas = std::to_array<CallArea>({
    {"1", "puebla guadalajara", 6, 10},
    {"2", "monterrey chihuahua", 6, 10},
    {"3", "merida", 6, 10},
});
constexpr std::array kMexicanFormats = std::to_array<CallFormat>({{"XE", "", "23", 1000, 1, "general"}});

// The rarer ones, worked through pile-ups.
constexpr std::array kIcelandAreas = std::to_array<CallArea>({{"123", "reykjavik akureyri", 40, 17}});
constexpr std::array kIcelandFormats = std::to_array<CallFormat>({{"TF", "", "23", 1000, 1, "a"}});
constexpr std::array kMaltaAreas = std::to_array<CallArea>({{"1", "valletta mosta", 15, 28}});
constexpr std::array kMaltaFormats = std::to_array<CallFormat>({{"9H", "", "23", 400, 1, "a"}});
constexpr std::array kCyprusAreas = std::to_array<CallArea>({{"4", "limassol larnaca", 20, 39}});
constexpr std::array kCyprusFormats = std::to_array<CallFormat>({{"5B", "", "23", 400, 1, "a"}});
constexpr std::array kIsraelAreas = std::to_array<CallArea>({{"1456", "haifa eilat netanya", 20, 39}});
constexpr std::array kIsraelFormats = std::to_array<CallFormat>({{"4X 4Z", "", "23", 1000, 1, "a"}});
constexpr std::array kFijiAreas = std::to_array<CallArea>({{"2", "suva nadi", 32, 56}});
constexpr std::array kFijiFormats = std::to_array<CallFormat>({{"3D", "", "2", 400, 1, "a"}});
constexpr std::array kFalklandAreas = std::to_array<CallArea>({{"8", "stanley", 13, 16}});
constexpr std::array kFalklandFormats = std::to_array<CallFormat>({{"VP", "", "23", 400, 1, "a"}});
constexpr std::array kBermudaAreas = std::to_array<CallArea>({{"9", "hamilton", 5, 11}});
constexpr std::array kBermudaFormats = std::to_array<CallFormat>({{"VP", "", "23", 400, 1, "a"}});
constexpr std::array kCaymanAreas = std::to_array<CallArea>({{"2", "georgetown", 8, 11}});
constexpr std::array kCaymanFormats = std::to_array<CallFormat>({{"ZF", "", "23", 400, 1, "a"}});
constexpr std::array kBarbadosAreas = std::to_array<CallArea>({{"6", "bridgetown", 8, 11}});
constexpr std::array kBarbadosFormats = std::to_array<CallFormat>({{"8P", "", "23", 400, 1, "a"}});
constexpr std::array kTrinidadAreas = std::to_array<CallArea>({{"4", "arima chaguanas", 9, 11}});
constexpr std::array kTrinidadFormats = std::to_array<CallFormat>({{"9Y", "", "23", 400, 1, "a"}});
constexpr std::array kGreenlandAreas = std::to_array<CallArea>({{"3", "nuuk ilulissat", 40, 5}});
constexpr std::array kGreenlandFormats = std::to_array<CallFormat>({{"OX", "", "23", 1000, 1, "a"}});
constexpr std::array kSvalbardAreas = std::to_array<CallArea>({{"5", "longyearbyen", 40, 18}});
constexpr std::array kSvalbardFormats = std::to_array<CallFormat>({{"JW", "", "12", 1000, 1, "a"}});
constexpr std::array kQatarAreas = std::to_array<CallArea>({{"1", "doha", 21, 39}});
constexpr std::array kQatarFormats = std::to_array<CallFormat>({{"A7", "", "2", 400, 1, "a"}});
constexpr std::array kKenyaAreas = std::to_array<CallArea>({{"4", "nairobi mombasa", 37, 48}});
constexpr std::array kKenyaFormats = std::to_array<CallFormat>({{"5Z", "", "23", 400, 1, "a"}});
constexpr std::array kNamibiaAreas = std::to_array<CallArea>({{"1", "windhoek swakopmund", 38, 57}});
constexpr std::array kNamibiaFormats = std::to_array<CallFormat>({{"V5", "", "23", 400, 1, "a"}});
constexpr std::array kHelenaAreas = std::to_array<CallArea>({{"7", "jamestown", 36, 66}});
constexpr std::array kHelenaFormats = std::to_array<CallFormat>({{"ZD", "", "12", 400, 1, "a"}});

// The entities heard, by weight: many North American, European and Japanese stations.
constexpr std::array kEntities = std::to_array<Entity>({
    {"United States of America", Language::English, Climate::Temperate, false, true, 170, kUsAreas,
     kUsFormats, "W"},
    {"Canada", Language::English, Climate::Cold, false, false, 16, kCanadianAreas, kCanadianFormats, "VE"},
    {"Hawaii", Language::English, Climate::Tropical, false, true, 2, kHawaiiAreas, kHawaiiFormats, ""},
    {"Alaska", Language::English, Climate::Cold, false, true, 2, kAlaskaAreas, kAlaskaFormats, ""},
    {"Puerto Rico", Language::Spanish, Climate::Tropical, false, true, 2, kPuertoRicoAreas,
     kPuertoRicoFormats, ""},
    {"England", Language::English, Climate::Oceanic, false, false, 20, kEnglandAreas, kEnglandFormats, "M"},
    {"Scotland", Language::English, Climate::Oceanic, false, false, 5, kScotlandAreas, kScotlandFormats,
     "MM"},
    {"Wales", Language::English, Climate::Oceanic, false, false, 4, kWalesAreas, kWalesFormats, "MW"},
    {"Ireland", Language::English, Climate::Oceanic, false, false, 4, kIrelandAreas, kIrelandFormats, "EI"},
    {"Fed. Rep. of Germany", Language::German, Climate::Temperate, false, false, 40, kGermanAreas,
     kGermanFormats, "DL"},
    {"Netherlands", Language::Dutch, Climate::Oceanic, false, false, 9, kDutchAreas, kDutchFormats, "PA"},
    {"Belgium", Language::Dutch, Climate::Oceanic, false, false, 5, kBelgianAreas, kBelgianFormats, "ON"},
    {"France", Language::French, Climate::Temperate, false, false, 14, kFrenchAreas, kFrenchFormats, "F"},
    {"Switzerland", Language::German, Climate::Temperate, false, false, 5, kSwissAreas, kSwissFormats, "HB9"},
    {"Austria", Language::German, Climate::Temperate, false, false, 6, kAustrianAreas, kAustrianFormats,
     "OE"},
    {"Denmark", Language::Danish, Climate::Oceanic, false, false, 5, kDanishAreas, kDanishFormats, "OZ"},
    {"Sweden", Language::Swedish, Climate::Cold, false, false, 7, kSwedishAreas, kSwedishFormats, "SM"},
    {"Finland", Language::Finnish, Climate::Cold, false, false, 7, kFinnishAreas, kFinnishFormats, "OH"},
    {"Poland", Language::Polish, Climate::Temperate, false, false, 12, kPolishAreas, kPolishFormats, "SP"},
    {"Czech Republic", Language::Czech, Climate::Temperate, false, false, 9, kCzechAreas, kCzechFormats,
     "OK"},
    {"Hungary", Language::Hungarian, Climate::Temperate, false, false, 5, kHungarianAreas, kHungarianFormats,
     "HA"},
    {"Croatia", Language::Croatian, Climate::Mediterranean, false, false, 4, kCroatianAreas, kCroatianFormats,
     "9A"},
    {"Slovenia", Language::Slovenian, Climate::Temperate, false, false, 4, kSlovenianAreas, kSlovenianFormats,
     "S5"},
    {"Italy", Language::Italian, Climate::Mediterranean, false, false, 14, kItalianAreas, kItalianFormats,
     "I"},
    {"Spain", Language::Spanish, Climate::Mediterranean, false, false, 12, kSpanishAreas, kSpanishFormats,
     "EA"},
    {"Balearic Islands", Language::Spanish, Climate::Mediterranean, false, false, 1, kBalearicAreas,
     kSpanishFormats, "EA6"},
    {"Canary Islands", Language::Spanish, Climate::Tropical, false, false, 2, kCanaryAreas, kSpanishFormats,
     "EA8"},
    {"Portugal", Language::Portuguese, Climate::Mediterranean, false, false, 4, kPortugueseAreas,
     kPortugueseFormats, "CT"},
    {"Madeira Islands", Language::Portuguese, Climate::Mediterranean, false, false, 1, kMadeiraAreas,
     kMadeiraFormats, ""},
    {"Greece", Language::Greek, Climate::Mediterranean, false, false, 3, kGreekAreas, kGreekFormats, "SV"},
    {"Bulgaria", Language::Bulgarian, Climate::Temperate, false, false, 4, kBulgarianAreas, kBulgarianFormats,
     "LZ"},
    {"Romania", Language::Romanian, Climate::Temperate, false, false, 5, kRomanianAreas, kRomanianFormats,
     "YO"},
    {"Lithuania", Language::Lithuanian, Climate::Cold, false, false, 3, kLithuanianAreas, kLithuanianFormats,
     "LY"},
    {"Latvia", Language::Latvian, Climate::Cold, false, false, 2, kLatvianAreas, kLatvianFormats, "YL"},
    {"Estonia", Language::Estonian, Climate::Cold, false, false, 2, kEstonianAreas, kEstonianFormats, "ES"},
    {"European Russia", Language::Russian, Climate::Cold, false, false, 16, kEuropeanRussianAreas,
     kEuropeanRussianFormats, ""},
    {"Asiatic Russia", Language::Russian, Climate::Cold, false, false, 5, kAsiaticRussianAreas,
     kAsiaticRussianFormats, ""},
    {"Japan", Language::Japanese, Climate::Temperate, false, false, 30, kJapaneseAreas, kJapaneseFormats, ""},
    {"Australia", Language::English, Climate::Mediterranean, true, false, 10, kAustralianAreas,
     kAustralianFormats, "VK"},
    {"New Zealand", Language::English, Climate::Oceanic, true, false, 4, kNewZealandAreas, kNewZealandFormats,
     "ZL"},
    {"Brazil", Language::Portuguese, Climate::Mediterranean, true, false, 6, kBrazilianAreas,
     kBrazilianFormats, ""},
    {"Chile", Language::Spanish, Climate::Mediterranean, true, false, 3, kChileanAreas, kChileanFormats, ""},
    {"South Africa", Language::English, Climate::Mediterranean, true, false, 3, kSouthAfricanAreas,
     kSouthAfricanFormats, ""},
    {"Mexico", Language::Spanish, Climate::Desert, false, false, 3, kMexicanAreas, kMexicanFormats, ""},
    {"Iceland", Language::Icelandic, Climate::Polar, false, false, 1, kIcelandAreas, kIcelandFormats, ""},
    {"Malta", Language::Maltese, Climate::Mediterranean, false, false, 1, kMaltaAreas, kMaltaFormats, ""},
    {"Cyprus", Language::Greek, Climate::Mediterranean, false, false, 1, kCyprusAreas, kCyprusFormats, ""},
    {"Israel", Language::Hebrew, Climate::Desert, false, false, 1, kIsraelAreas, kIsraelFormats, ""},
    {"Fiji", Language::English, Climate::Tropical, true, false, 0, kFijiAreas, kFijiFormats, ""},
    {"Falkland Islands", Language::English, Climate::Polar, true, false, 0, kFalklandAreas, kFalklandFormats,
     ""},
    {"Bermuda", Language::English, Climate::Tropical, false, false, 0, kBermudaAreas, kBermudaFormats, ""},
    {"Cayman Islands", Language::English, Climate::Tropical, false, false, 0, kCaymanAreas, kCaymanFormats,
     ""},
    {"Barbados", Language::English, Climate::Tropical, false, false, 0, kBarbadosAreas, kBarbadosFormats, ""},
    {"Trinidad & Tobago", Language::English, Climate::Tropical, false, false, 0, kTrinidadAreas,
     kTrinidadFormats, ""},
    {"Greenland", Language::Danish, Climate::Polar, false, false, 0, kGreenlandAreas, kGreenlandFormats, ""},
    {"Svalbard", Language::Swedish, Climate::Polar, false, false, 0, kSvalbardAreas, kSvalbardFormats, ""},
    {"Qatar", Language::English, Climate::Desert, false, false, 0, kQatarAreas, kQatarFormats, ""},
    {"Kenya", Language::English, Climate::Tropical, true, false, 0, kKenyaAreas, kKenyaFormats, ""},
    {"Namibia", Language::English, Climate::Desert, true, false, 0, kNamibiaAreas, kNamibiaFormats, ""},
    {"St. Helena", Language::English, Climate::Tropical, true, false, 0, kHelenaAreas, kHelenaFormats, ""},
});

// --- Names ----------------------------------------------------------------------------------

const char* const kNames[] = {
    ("john bob tom jim mike dave ed ken bill rick steve paul gary dan joe al ron sue mary anne ruth kate "
     "pete chris "
     "mark don"),                                                                                // English
    "hans peter klaus uwe jens dieter wolfgang frank gerd karl heinz anke petra jurgen stefan",  // German
    "jan piet kees henk wim joop bert gerrit ruud marco sander",                                 // Dutch
    "jean pierre michel alain marc luc eric yves guy didier",                                    // French
    "marco luca paolo gianni carlo franco enzo mario luigi sergio",                              // Italian
    "jose juan pepe luis carlos manolo pedro jorge pablo javier",                                // Spanish
    "joao paulo jose rui nuno luis carlos pedro",                                                // Portuguese
    "lars olle sven erik bengt goran anders",                                                    // Swedish
    "jens lars ole soren niels poul bent",                                                       // Danish
    "juha jari kari timo pekka matti seppo heikki",                                              // Finnish
    "piotr marek tomasz jerzy andrzej krzysztof janusz adam",                                    // Polish
    "jiri petr pavel josef jan karel milan tomas",                                               // Czech
    "ivan igor vlad sasha oleg yuri sergei dmitri alex victor",                                  // Russian
    "taka hiro ken yuki shin koji masa nobu aki toshi",                                          // Japanese
    "laszlo istvan zoltan gabor tamas attila",                                                   // Hungarian
    "ivan marko zoran darko tomislav goran",                                                     // Croatian
    "janez marko bojan tone matej",                                                              // Slovenian
    "ion mihai dan vasile florin adrian",                                                        // Romanian
    "nikos kostas yannis giorgos dimitris",                                                      // Greek
    "georgi ivan dimitar stefan petar",                                                          // Bulgarian
    "avi moshe david yossi dov",                                                                 // Hebrew
    "jon gunnar siggi olafur einar",                                                             // Icelandic
    "joe charles mario paul",                                                                    // Maltese
    "algis jonas vytas darius",                                                                  // Lithuanian
    "toomas jaan peeter mart",                                                                   // Estonian
    "janis andris juris valdis",                                                                 // Latvian
};

// --- Climate --------------------------------------------------------------------------------

struct SeasonRanges {
    std::array<std::pair<int, int>, 4> celsius;  // winter, spring, summer, autumn
};
constexpr std::array kClimates = std::to_array<SeasonRanges>({
    {{{{-8, 8}, {4, 18}, {16, 32}, {4, 18}}}},      // Temperate
    {{{{-28, -2}, {-6, 12}, {10, 28}, {-4, 12}}}},  // Cold
    {{{{3, 16}, {12, 24}, {22, 38}, {12, 26}}}},    // Mediterranean
    {{{{21, 30}, {22, 32}, {24, 33}, {22, 32}}}},   // Tropical
    {{{{10, 26}, {20, 36}, {28, 45}, {20, 34}}}},   // Desert
    {{{{-30, -6}, {-16, 2}, {0, 12}, {-12, 3}}}},   // Polar
    {{{{-2, 10}, {5, 16}, {13, 27}, {6, 16}}}},     // Oceanic
});

}  // namespace

const Entity* FindEntity(std::string_view name) {
    for (const Entity& e : kEntities)
        if (name == e.name)
            return &e;
    return nullptr;
}

const char* Names(Language language) {
    return kNames[static_cast<int>(language)];
}

std::string Antenna::Spoken() const {
    return elements > 0 ? std::to_string(elements) + "el " + kind : kind;
}

bool AntennaFits(std::string_view kind, int elements) {
    if (kind == "yagi")
        return elements >= 2 && elements <= 7;
    if (kind == "quad")
        return elements >= 2 && elements <= 5;
    if (kind == "lpda")
        return elements >= 5 && elements <= 12;
    for (const std::string_view single :
         {"dipole", "inv v", "windom", "g5rv", "efhw", "vertical", "ground plane", "long wire", "loop",
          "delta loop", "hex beam", "moxon", "mag loop", "random wire", "doublet"})
        if (kind == single)
            return elements == 0;
    return false;
}

int Season(const Entity& entity, int month) {
    // December to February is northern winter.
    const int northern = month == 12 || month <= 2 ? 0 : (month <= 5 ? 1 : (month <= 8 ? 2 : 3));
    return entity.southern ? (northern + 2) % 4 : northern;
}

std::pair<int, int> TemperatureRange(const Entity& entity, int month) {
    return kClimates[static_cast<std::size_t>(entity.climate)]
        .celsius[static_cast<std::size_t>(Season(entity, month))];
}

bool SkyFits(std::string_view sky, int celsius) {
    if (sky == "snow")
        return celsius <= 2;
    if (sky == "rain" || sky == "drizzle")
        return celsius >= 1;
    if (sky == "hot")
        return celsius >= 27;
    if (sky == "warm")
        return celsius >= 18 && celsius <= 32;
    if (sky == "cold")
        return celsius <= 8;
    if (sky == "frost")
        return celsius <= 1;
    if (sky == "mild")
        return celsius >= 8 && celsius <= 20;
    for (const std::string_view any : {"sunny", "cloudy", "fog", "windy", "overcast", "clr", "clear"})
        if (sky == any)
            return true;
    return false;
}

std::string Weather::Spoken(bool fahrenheit) const {
    const int t = fahrenheit ? (celsius * 9 + (celsius >= 0 ? 2 : -2)) / 5 + 32 : celsius;
    const std::string degrees = t < 0 ? "minus " + std::to_string(-t) : std::to_string(t);
    return sky + " temp " + degrees + (fahrenheit ? "f" : "c");
}

bool Station::NorthAmerican() const {
    const std::string_view e = entity->name;
    return e == "United States of America" || e == "Canada";
}

const CallArea* AreaOfTown(const Entity& entity, std::string_view town) {
    for (const CallArea& area : entity.areas)
        for (const std::string& entry : Draw::Split(area.towns)) {
            const std::string_view name = std::string_view(entry).substr(0, entry.find_first_of(":/"));
            if (name == town)
                return &area;
        }
    return nullptr;
}

Station StationMaker::Any() {
    int total = 0;
    for (const Entity& e : kEntities)
        total += e.weight;
    int at = draw_.Below(total);
    for (const Entity& e : kEntities) {
        if (at < e.weight)
            return Of(e);
        at -= e.weight;
    }
    return Of(kEntities.front());
}

Station StationMaker::Of(const Entity& entity) {
    const auto& area =
        entity.areas[static_cast<std::size_t>(draw_.Below(static_cast<int>(entity.areas.size())))];
    return OfArea(entity, area);
}

Station StationMaker::OfArea(const Entity& entity, const CallArea& area) {
    Station s;
    s.entity = s.home = &entity;
    s.area = s.homeArea = &area;
    // A format that can be issued in the area.
    const CallFormat* format = nullptr;
    std::string digits;
    for (int tries = 0; tries < 50 && digits.empty(); ++tries) {
        int total = 0;
        for (const CallFormat& f : entity.formats)
            total += f.weight;
        int at = draw_.Below(total);
        for (const CallFormat& f : entity.formats) {
            if (at < f.weight) {
                format = &f;
                break;
            }
            at -= f.weight;
        }
        digits.clear();
        for (const char d : std::string_view(area.digits))
            if (*format->digits == '\0' || std::string_view(format->digits).find(d) != std::string_view::npos)
                digits += d;
    }
    s.format = format;
    s.digit = digits[static_cast<std::size_t>(draw_.Below(static_cast<int>(digits.size())))];
    const std::string entry = draw_.Word(area.towns);
    const std::vector<std::string> parts = Draw::Split(entry, ':');
    const std::size_t slash = parts[0].find('/');
    s.town = parts[0].substr(0, slash);
    if (parts.size() == 3) {
        s.state = parts[1];
        s.section = parts[2];
    }
    std::string call = draw_.Word(format->prefixes) + s.digit;
    const std::string_view lengths = format->lengths;
    const int length = lengths[static_cast<std::size_t>(draw_.Below(static_cast<int>(lengths.size())))] - '0';
    for (int i = 0; i < length; ++i) {
        char letter;
        if (i == 0 && slash != std::string::npos)
            letter = parts[0][slash + 1];
        else if (i == 0 && format->first != '\0')
            letter = format->first;
        else
            // No suffix begins with Q: those would read as Q codes.
            letter = static_cast<char>('A' + (i == 0 ? draw_.Below(25) : draw_.Below(26)));
        if (i == 0 && letter >= 'Q' && slash == std::string::npos && format->first == '\0')
            ++letter;
        call += letter;
    }
    // No suffix that reads as a distress call or a rude word.
    for (const char* avoided : {"SOS", "SEX", "ASS"})
        if (call.size() > 3 && call.compare(call.size() - 3, 3, avoided) == 0)
            call.back() = 'Z';
    s.call = s.homeCall = call;
    Facts(s);
    return s;
}

void StationMaker::Facts(Station& s) {
    s.name = draw_.Word(Names(s.home->language));
    s.age = 16 + draw_.Below(70);
    s.yearsLicensed = 1 + draw_.Below(s.age - 14);
    const int max = s.format->maxWatts;
    std::vector<int> powers;
    for (const int w : {5, 10, 25, 50, 100, 100, 100, 200, 400, 500, 750, 1000, 1500})
        if (w <= max)
            powers.push_back(w);
    s.watts = draw_.Pick(powers);
    s.antenna = AnyAntenna(false);
}

Station StationMaker::NorthAmerican() {
    for (;;) {
        Station s = Any();
        if (s.NorthAmerican())
            return s;
    }
}

Station StationMaker::European() {
    for (;;) {
        Station s = Any();
        const std::string_view e = s.entity->name;
        if (s.CqZone() >= 14 && s.CqZone() <= 16 && e != "Asiatic Russia")
            return s;
    }
}

Station StationMaker::Rare() {
    std::vector<const Entity*> rare;
    for (const Entity& e : kEntities)
        if (e.weight <= 1)
            rare.push_back(&e);
    return Of(*draw_.Pick(rare));
}

Station StationMaker::SpecialEvent() {
    Station s;
    s.entity = s.home = &kEntities.front();
    s.area = s.homeArea = &kUsAreas[static_cast<std::size_t>(draw_.Below(static_cast<int>(kUsAreas.size())))];
    s.format = &kUsSpecialFormats.front();
    s.digit = s.area->digits[0];
    const std::vector<std::string> parts = Draw::Split(draw_.Word(s.area->towns), ':');
    s.town = parts[0];
    s.state = parts[1];
    s.section = parts[2];
    // One draw a statement (the operands of + are not sequenced), the letter first.
    const char letter = static_cast<char>('A' + draw_.Below(26));
    s.call = s.homeCall = draw_.Word(s.format->prefixes) + s.digit + letter;
    s.special = true;
    Facts(s);
    return s;
}

void StationMaker::MakeVisitor(Station& s) {
    std::vector<const Entity*> hosts;
    for (const Entity& e : kEntities)
        if (*e.visitorPrefix != '\0' && &e != s.home)
            hosts.push_back(&e);
    const Entity& host = *draw_.Pick(hosts);
    const CallArea& area =
        host.areas[static_cast<std::size_t>(draw_.Below(static_cast<int>(host.areas.size())))];
    std::string prefix = host.visitorPrefix;
    // Where the call area is in the call, a visitor signs it: W6/, VE3/, VK2/, ZL1/.
    const std::string_view name = host.name;
    if (name == "United States of America" || name == "Canada" || name == "Australia" ||
        name == "New Zealand")
        prefix += area.digits[0];
    s.entity = &host;
    s.area = &area;
    s.call = prefix + "/" + s.homeCall;
    const std::vector<std::string> parts = Draw::Split(draw_.Word(area.towns), ':');
    s.town = parts[0].substr(0, parts[0].find('/'));
    s.state = parts.size() == 3 ? parts[1] : "";
    s.section = parts.size() == 3 ? parts[2] : "";
    s.visitor = true;
    // A visitor brings a small station.
    s.watts = std::min(s.watts, 100);
    s.antenna = AnyAntenna(true);
}

Weather StationMaker::WeatherFor(const Station& s, int month) {
    const auto [low, high] = TemperatureRange(*s.entity, month);
    Weather wx;
    wx.celsius = low + draw_.Below(high - low + 1);
    std::vector<std::string> skies;
    for (const char* sky : {"sunny", "cloudy", "rain", "snow", "fog", "windy", "overcast", "clr", "hot",
                            "warm", "cold", "mild", "drizzle", "frost"})
        if (SkyFits(sky, wx.celsius))
            skies.emplace_back(sky);
    wx.sky = draw_.Pick(skies);
    return wx;
}

Antenna StationMaker::AnyAntenna(bool small) {
    const std::string kind = small ? draw_.Phrase("dipole|vertical|efhw|long wire|inv v|mag loop|random wire")
                                   : draw_.Phrase(
                                         "dipole|vertical|yagi|yagi|hex beam|loop|efhw|inv v|long wire|g5rv|"
                                         "quad|windom|dipole|vertical|delta loop|moxon|doublet|lpda|yagi");
    Antenna a;
    a.kind = kind;
    if (kind == "yagi")
        a.elements = 2 + draw_.Below(5);
    else if (kind == "quad")
        a.elements = 2 + draw_.Below(3);
    else if (kind == "lpda")
        a.elements = 6 + draw_.Below(5);
    return a;
}

}  // namespace lumbrel::stations
