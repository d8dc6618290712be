#include "holidays/HolidayTable.h"

namespace {

// The 193 country names, each defined once; every row that names a country
// points at its one string.
constexpr char kAegypten[]                    = "Ägypten";
constexpr char kAequatorialguinea[]           = "Äquatorialguinea";
constexpr char kAethiopien[]                  = "Äthiopien";
constexpr char kAfghanistan[]                 = "Afghanistan";
constexpr char kAlbanien[]                    = "Albanien";
constexpr char kAlgerien[]                    = "Algerien";
constexpr char kAndorra[]                     = "Andorra";
constexpr char kAngola[]                      = "Angola";
constexpr char kAntiguaUndBarbadu[]           = "Antigua und Barbadu";
constexpr char kArgentinien[]                 = "Argentinien";
constexpr char kArmenien[]                    = "Armenien";
constexpr char kAserbaidschan[]               = "Aserbaidschan";
constexpr char kAustralien[]                  = "Australien";
constexpr char kBahamas[]                     = "Bahamas";
constexpr char kBahrain[]                     = "Bahrain";
constexpr char kBangladesch[]                 = "Bangladesch";
constexpr char kBarbados[]                    = "Barbados";
constexpr char kBelgien[]                     = "Belgien";
constexpr char kBelize[]                      = "Belize";
constexpr char kBenin[]                       = "Benin";
constexpr char kBhutan[]                      = "Bhutan";
constexpr char kBolivien[]                    = "Bolivien";
constexpr char kBosnienHerzegowina[]          = "Bosnien-Herzegowina";
constexpr char kBotsuana[]                    = "Botsuana";
constexpr char kBrasilien[]                   = "Brasilien";
constexpr char kBrunei[]                      = "Brunei";
constexpr char kBulgarien[]                   = "Bulgarien";
constexpr char kBurkinaFaso[]                 = "Burkina Faso";
constexpr char kBurundi[]                     = "Burundi";
constexpr char kChile[]                       = "Chile";
constexpr char kChinaRep[]                    = "China (Rep.)";
constexpr char kChinaVR[]                     = "China (VR)";
constexpr char kCostaRica[]                   = "Costa Rica";
constexpr char kDaenemark[]                   = "Dänemark";
constexpr char kDeutschland[]                 = "Deutschland";
constexpr char kDominica[]                    = "Dominica";
constexpr char kDominikanischeRepublik[]      = "Dominikanische Republik";
constexpr char kDschibuti[]                   = "Dschibuti";
constexpr char kEcuador[]                     = "Ecuador";
constexpr char kElfenbeinkueste[]             = "Elfenbeinküste";
constexpr char kElSalvador[]                  = "El Salvador";
constexpr char kEngland[]                     = "England";
constexpr char kEritrea[]                     = "Eritrea";
constexpr char kEstland[]                     = "Estland";
constexpr char kFidschi[]                     = "Fidschi";
constexpr char kFinnland[]                    = "Finnland";
constexpr char kFrankreich[]                  = "Frankreich";
constexpr char kGabun[]                       = "Gabun";
constexpr char kGambia[]                      = "Gambia";
constexpr char kGeorgien[]                    = "Georgien";
constexpr char kGhana[]                       = "Ghana";
constexpr char kGrenada[]                     = "Grenada";
constexpr char kGriechenland[]                = "Griechenland";
constexpr char kGrossbritannien[]             = "Großbritannien";
constexpr char kGuatemala[]                   = "Guatemala";
constexpr char kGuinea[]                      = "Guinea";
constexpr char kGuineaBissau[]                = "Guinea-Bissau";
constexpr char kGuyana[]                      = "Guyana";
constexpr char kHaiti[]                       = "Haiti";
constexpr char kHonduras[]                    = "Honduras";
constexpr char kIndien[]                      = "Indien";
constexpr char kIndonesien[]                  = "Indonesien";
constexpr char kIrak[]                        = "Irak";
constexpr char kIran[]                        = "Iran";
constexpr char kIrland[]                      = "Irland";
constexpr char kIsland[]                      = "Island";
constexpr char kIsrael[]                      = "Israel";
constexpr char kItalien[]                     = "Italien";
constexpr char kJamaika[]                     = "Jamaika";
constexpr char kJapan[]                       = "Japan";
constexpr char kJemen[]                       = "Jemen";
constexpr char kJordanien[]                   = "Jordanien";
constexpr char kJugoslawien[]                 = "Jugoslawien";
constexpr char kKambodscha[]                  = "Kambodscha";
constexpr char kKamerun[]                     = "Kamerun";
constexpr char kKanada[]                      = "Kanada";
constexpr char kKapVerde[]                    = "Kap Verde";
constexpr char kKasachstan[]                  = "Kasachstan";
constexpr char kKatar[]                       = "Katar";
constexpr char kKenia[]                       = "Kenia";
constexpr char kKirgistan[]                   = "Kirgistan";
constexpr char kKiribati[]                    = "Kiribati";
constexpr char kKolumbien[]                   = "Kolumbien";
constexpr char kKomoren[]                     = "Komoren";
constexpr char kKongoDemRep[]                 = "Kongo (Dem. Rep.)";
constexpr char kKongoRep[]                    = "Kongo (Rep.)";
constexpr char kKroatien[]                    = "Kroatien";
constexpr char kKuba[]                        = "Kuba";
constexpr char kKuwait[]                      = "Kuwait";
constexpr char kLaos[]                        = "Laos";
constexpr char kLesotho[]                     = "Lesotho";
constexpr char kLettland[]                    = "Lettland";
constexpr char kLibanon[]                     = "Libanon";
constexpr char kLiberia[]                     = "Liberia";
constexpr char kLibyen[]                      = "Libyen";
constexpr char kLiechtenstein[]               = "Liechtenstein";
constexpr char kLitauen[]                     = "Litauen";
constexpr char kLuxemburg[]                   = "Luxemburg";
constexpr char kMadagaskar[]                  = "Madagaskar";
constexpr char kMalawi[]                      = "Malawi";
constexpr char kMalaysia[]                    = "Malaysia";
constexpr char kMalediven[]                   = "Malediven";
constexpr char kMali[]                        = "Mali";
constexpr char kMalta[]                       = "Malta";
constexpr char kMarokko[]                     = "Marokko";
constexpr char kMarshallinseln[]              = "Marshallinseln";
constexpr char kMauretanien[]                 = "Mauretanien";
constexpr char kMauritius[]                   = "Mauritius";
constexpr char kMazedonien[]                  = "Mazedonien";
constexpr char kMexiko[]                      = "Mexiko";
constexpr char kMikronesien[]                 = "Mikronesien";
constexpr char kMoldau[]                      = "Moldau";
constexpr char kMonaco[]                      = "Monaco";
constexpr char kMongolei[]                    = "Mongolei";
constexpr char kMosambik[]                    = "Mosambik";
constexpr char kMyanmar[]                     = "Myanmar";
constexpr char kNamibia[]                     = "Namibia";
constexpr char kNauru[]                       = "Nauru";
constexpr char kNepal[]                       = "Nepal";
constexpr char kNeuseeland[]                  = "Neuseeland";
constexpr char kNicaragua[]                   = "Nicaragua";
constexpr char kNiederlande[]                 = "Niederlande";
constexpr char kNiger[]                       = "Niger";
constexpr char kNigeria[]                     = "Nigeria";
constexpr char kNorwegen[]                    = "Norwegen";
constexpr char kOesterreich[]                 = "Österreich";
constexpr char kOman[]                        = "Oman";
constexpr char kPakistan[]                    = "Pakistan";
constexpr char kPalau[]                       = "Palau";
constexpr char kPanama[]                      = "Panama";
constexpr char kPapuaNeuguinea[]              = "Papua-Neuguinea";
constexpr char kParaguay[]                    = "Paraguay";
constexpr char kPeru[]                        = "Peru";
constexpr char kPhilippinen[]                 = "Philippinen";
constexpr char kPolen[]                       = "Polen";
constexpr char kPortugal[]                    = "Portugal";
constexpr char kRuanda[]                      = "Ruanda";
constexpr char kRumaenien[]                   = "Rumänien";
constexpr char kRussischeFoederation[]        = "Russische Föderation";
constexpr char kSahara[]                      = "Sahara";
constexpr char kSalomonen[]                   = "Salomonen";
constexpr char kSambia[]                      = "Sambia";
constexpr char kSamoa[]                       = "Samoa";
constexpr char kSanMarino[]                   = "San Marino";
constexpr char kSaoTomeUndPrincipe[]          = "São Tomé und Príncipe";
constexpr char kSaudiArabien[]                = "Saudi-Arabien";
constexpr char kSchottland[]                  = "Schottland";
constexpr char kSchweden[]                    = "Schweden";
constexpr char kSchweiz[]                     = "Schweiz";
constexpr char kSenegal[]                     = "Senegal";
constexpr char kSeychellen[]                  = "Seychellen";
constexpr char kSierraLeone[]                 = "Sierra Leone";
constexpr char kSimbabwe[]                    = "Simbabwe";
constexpr char kSingapur[]                    = "Singapur";
constexpr char kSlowakei[]                    = "Slowakei";
constexpr char kSlowenien[]                   = "Slowenien";
constexpr char kSomalia[]                     = "Somalia";
constexpr char kSpanien[]                     = "Spanien";
constexpr char kSriLanka[]                    = "Sri Lanka";
constexpr char kStKittsUndNevis[]             = "St. Kitts und Nevis";
constexpr char kStLucia[]                     = "St. Lucia";
constexpr char kStVincentUndDieGrenadien[]    = "St. Vincent und die Grenadien";
constexpr char kSudan[]                       = "Sudan";
constexpr char kSuedafrika[]                  = "Südafrika";
constexpr char kSuriname[]                    = "Suriname";
constexpr char kSwasiland[]                   = "Swasiland";
constexpr char kSyrien[]                      = "Syrien";
constexpr char kTadschikistan[]               = "Tadschikistan";
constexpr char kTansania[]                    = "Tansania";
constexpr char kThailand[]                    = "Thailand";
constexpr char kTogo[]                        = "Togo";
constexpr char kTonga[]                       = "Tonga";
constexpr char kTrinidadUndTobago[]           = "Trinidad und Tobago";
constexpr char kTschad[]                      = "Tschad";
constexpr char kTschechischeRepublik[]        = "Tschechische Republik";
constexpr char kTuerkei[]                     = "Türkei";
constexpr char kTunesien[]                    = "Tunesien";
constexpr char kTurkmenistan[]                = "Turkmenistan";
constexpr char kTuvalu[]                      = "Tuvalu";
constexpr char kUganda[]                      = "Uganda";
constexpr char kUkraine[]                     = "Ukraine";
constexpr char kUngarn[]                      = "Ungarn";
constexpr char kUruguay[]                     = "Uruguay";
constexpr char kUsbekistan[]                  = "Usbekistan";
constexpr char kVanuatu[]                     = "Vanuatu";
constexpr char kVatikanstadt[]                = "Vatikanstadt";
constexpr char kVenezuela[]                   = "Venezuela";
constexpr char kVereinigteArabischeEmirate[]  = "Vereinigte Arabische Emirate";
constexpr char kVietnam[]                     = "Vietnam";
constexpr char kWales[]                       = "Wales";
constexpr char kWeissrussland[]               = "Weißrußland";
constexpr char kZentralafrikanischeRepublik[] = "Zentralafrikanische Republik";
constexpr char kZypern[]                      = "Zypern";

struct HolidayRow {
    int day;
    int month;
    const char* country;
};

// The table in row order: one line per date (wrapped when
// long), dates in calendar order except for the three marked stretches.
constexpr HolidayRow kRows[] = {
    // January (month 1, 11 rows)
    { 1,  1, kHaiti}, { 1,  1, kKuba}, { 1,  1, kSamoa}, { 1,  1, kSlowakei}, { 1,  1, kSudan},
    { 4,  1, kMyanmar},
    { 7,  1, kMalediven},
    {11,  1, kNepal},
    {26,  1, kAustralien}, {26,  1, kIndien},
    {31,  1, kNauru},

    // February (month 2, 15 rows)
    { 4,  2, kSriLanka},
    { 6,  2, kNeuseeland},
    { 7,  2, kGrenada},
    {11,  2, kIran}, {11,  2, kJapan},
    {13,  2, kGuyana},
    {16,  2, kLitauen},
    {18,  2, kGambia},
    {21,  2, kBangladesch},
    {22,  2, kStLucia},
    {23,  2, kBrunei},
    {24,  2, kEstland},
    {25,  2, kKuwait},
    {27,  2, kDominikanischeRepublik}, {27,  2, kSahara},

    // March (month 3, 15 rows)
    { 1,  3, kBosnienHerzegowina}, { 1,  3, kWales},
    { 3,  3, kBulgarien}, { 3,  3, kMarokko},
    { 5,  3, kAequatorialguinea},
    { 6,  3, kGhana},
    {12,  3, kGabun}, {12,  3, kMauritius},
    {15,  3, kUngarn},
    {17,  3, kIrland},
    {20,  3, kTunesien},
    {21,  3, kNamibia},
    {23,  3, kPakistan},
    {25,  3, kGriechenland},
    {26,  3, kBangladesch},

    // April (month 4, 17 rows)
    { 1,  4, kIran},
    { 2,  4, kRussischeFoederation},
    { 4,  4, kSenegal},
    { 6,  4, kAethiopien},
    {16,  4, kDaenemark},
    {18,  4, kSimbabwe},
    {19,  4, kSwasiland}, {19,  4, kVenezuela},
    {23,  4, kEngland},
    {25,  4, kItalien},
    {26,  4, kTansania},
    {27,  4, kAfghanistan}, {27,  4, kSierraLeone}, {27,  4, kSuedafrika}, {27,  4, kTogo},
    {30,  4, kNiederlande}, {30,  4, kSchweden},

    // May (month 5, 20 rows)
    { 1,  5, kMarshallinseln}, { 1,  5, kOesterreich},
    { 3,  5, kJapan}, { 3,  5, kPolen},
    { 5,  5, kNiederlande},
    { 9,  5, kRussischeFoederation},
    {10,  5, kMikronesien},
    {12,  5, kIsrael},
    {15,  5, kParaguay},
    {17,  5, kNauru}, {17,  5, kNorwegen},
    {20,  5, kKamerun},
    {22,  5, kJemen},
    {24,  5, kEritrea},
    {25,  5, kArgentinien}, {25,  5, kJordanien},
    {26,  5, kGeorgien},
    {28,  5, kArmenien}, {28,  5, kAserbaidschan},
    {30,  5, kKroatien},

    // June (month 6, 23 rows)
    { 0,  6, kItalien}, { 0,  6, kGrossbritannien},
    { 1,  6, kKenia}, { 1,  6, kSamoa},
    { 4,  6, kTonga},
    { 5,  6, kDaenemark}, { 5,  6, kSeychellen},
    { 6,  6, kSchweden},
    {10,  6, kPortugal},
    {12,  6, kPhilippinen}, {12,  6, kRussischeFoederation},
    {16,  6, kSuedafrika},
    {17,  6, kIsland},
    {23,  6, kLuxemburg},
    {24,  6, kVenezuela},
    {25,  6, kMosambik}, {25,  6, kSlowenien},
    {26,  6, kMadagaskar}, {26,  6, kSomalia},
    {27,  6, kDschibuti},
    {28,  6, kUkraine},
    {29,  6, kSeychellen},
    {30,  6, kKongoDemRep},

    // July (month 7, 36 rows)
    { 1,  7, kBurundi}, { 1,  7, kKanada}, { 1,  7, kRuanda}, { 1,  7, kSomalia},
    { 3,  7, kWeissrussland},
    { 4,  7, kTonga},
    { 5,  7, kAlgerien}, { 5,  7, kKapVerde}, { 5,  7, kVenezuela},
    { 6,  7, kKomoren}, { 6,  7, kMalawi},
    { 7,  7, kSalomonen},
    { 9,  7, kArgentinien},
    {10,  7, kBahamas},
    // Out of order: Mongolei's three days first, then the rest of 12.7.
    {11,  7, kMongolei}, {12,  7, kMongolei}, {13,  7, kMongolei},
    {12,  7, kKiribati}, {12,  7, kSaoTomeUndPrincipe},
    {14,  7, kFrankreich}, {14,  7, kIrak},
    {15,  7, kBrunei},
    {18,  7, kUruguay},
    {19,  7, kNicaragua},
    {20,  7, kKolumbien},
    {21,  7, kBelgien},
    {23,  7, kAegypten},
    {24,  7, kVenezuela},
    // Out of order: Kuba's three days first, then the rest of 25.7. and 26.7.
    {25,  7, kKuba}, {26,  7, kKuba}, {27,  7, kKuba},
    {25,  7, kTunesien},
    {26,  7, kLiberia}, {26,  7, kMalediven},
    {28,  7, kPeru},
    {30,  7, kVanuatu},

    // August (month 8, 27 rows)
    { 0,  8, kJamaika},
    { 1,  8, kBenin}, { 1,  8, kSchweiz},
    { 2,  8, kMazedonien},
    { 3,  8, kNiger},
    { 5,  8, kBurkinaFaso},
    { 6,  8, kBolivien},
    { 9,  8, kSingapur},
    {10,  8, kEcuador},
    {11,  8, kTschad},
    {14,  8, kPakistan},
    {15,  8, kIndien}, {15,  8, kKongoRep}, {15,  8, kLiechtenstein},
    {17,  8, kGabun}, {17,  8, kIndonesien},
    {18,  8, kAfghanistan},
    {20,  8, kUngarn},
    {22,  8, kRussischeFoederation},
    {24,  8, kUkraine},
    {25,  8, kParaguay}, {25,  8, kUruguay},
    {27,  8, kMoldau},
    {29,  8, kSlowakei},
    {31,  8, kKirgistan}, {31,  8, kMalaysia}, {31,  8, kTrinidadUndTobago},

    // September (month 9, 30 rows)
    { 1,  9, kLibyen}, { 1,  9, kSlowakei}, { 1,  9, kUsbekistan},
    { 2,  9, kVietnam},
    { 3,  9, kKatar}, { 3,  9, kSanMarino},
    { 6,  9, kSwasiland},
    { 7,  9, kBrasilien},
    { 8,  9, kAndorra}, { 8,  9, kMazedonien},
    { 9,  9, kTadschikistan},
    {10,  9, kBelize},
    {11,  9, kChile},
    {15,  9, kCostaRica}, {15,  9, kElSalvador}, {15,  9, kGuatemala}, {15,  9, kHonduras},
        {15,  9, kNicaragua},
    {16,  9, kMexiko}, {16,  9, kPapuaNeuguinea},
    {17,  9, kMarshallinseln},
    {18,  9, kChile},
    {19,  9, kStKittsUndNevis},
    {21,  9, kBelize}, {21,  9, kMalta},
    {22,  9, kMali},
    {23,  9, kSaudiArabien},
    {24,  9, kGuineaBissau}, {24,  9, kTrinidadUndTobago},
    {30,  9, kBotsuana},

    // October (month 10, 32 rows)
    // Out of order: Palau's two days together, amid the rows of 1.10.
    { 1, 10, kChinaVR}, { 1, 10, kNigeria}, { 1, 10, kPalau}, { 2, 10, kPalau},
    { 1, 10, kSalomonen}, { 1, 10, kTuvalu}, { 1, 10, kZypern},
    { 2, 10, kGuinea},
    { 3, 10, kDeutschland},
    { 4, 10, kLesotho},
    { 5, 10, kPortugal}, { 5, 10, kVanuatu},
    { 6, 10, kAegypten},
    { 9, 10, kUganda},
    {10, 10, kChinaRep}, {10, 10, kFidschi}, {10, 10, kKuba},
    {11, 10, kMazedonien},
    {12, 10, kSpanien},
    {20, 10, kKenia},
    {22, 10, kVatikanstadt},
    {23, 10, kUngarn},
    {24, 10, kMikronesien}, {24, 10, kSambia},
    {26, 10, kNauru}, {26, 10, kOesterreich},
    {27, 10, kStVincentUndDieGrenadien}, {27, 10, kTurkmenistan},
    {28, 10, kTurkmenistan}, {28, 10, kGriechenland}, {28, 10, kTschechischeRepublik},
    {29, 10, kTuerkei},

    // November (month 11, 30 rows)
    { 1, 11, kAlgerien}, { 1, 11, kAntiguaUndBarbadu},
    { 3, 11, kDominica}, { 3, 11, kMikronesien}, { 3, 11, kPanama},
    { 4, 11, kTonga},
    { 7, 11, kRussischeFoederation},
    { 9, 11, kKambodscha}, { 9, 11, kNepal},
    {11, 11, kAngola}, {11, 11, kBhutan}, {11, 11, kPolen},
    {15, 11, kBrasilien}, {15, 11, kZypern},
    {16, 11, kSyrien},
    {18, 11, kLettland}, {18, 11, kMarokko}, {18, 11, kOman},
    {19, 11, kMonaco}, {19, 11, kOman},
    {22, 11, kLibanon},
    {24, 11, kKongoDemRep},
    {25, 11, kSuriname},
    {26, 11, kMongolei},
    {28, 11, kAlbanien}, {28, 11, kMauretanien}, {28, 11, kPanama},
    {29, 11, kJugoslawien},
    {30, 11, kBarbados}, {30, 11, kSchottland},

    // December (month 12, 22 rows)
    { 1, 12, kRumaenien}, { 1, 12, kZentralafrikanischeRepublik},
    { 2, 12, kLaos}, { 2, 12, kVereinigteArabischeEmirate},
    { 5, 12, kThailand},
    { 6, 12, kFinnland},
    { 7, 12, kElfenbeinkueste},
    { 9, 12, kTansania},
    {10, 12, kKamerun}, {10, 12, kThailand},
    {11, 12, kBurkinaFaso},
    {12, 12, kKenia},
    {13, 12, kStLucia},
    {16, 12, kBahrain}, {16, 12, kBangladesch}, {16, 12, kKasachstan}, {16, 12, kSuedafrika},
    {17, 12, kBhutan},
    {18, 12, kNiger},
    {23, 12, kJapan},
    {26, 12, kSlowenien},
    {28, 12, kNepal},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == kHolidayCount, "the table has 278 rows");

// The three parallel arrays, split from kRows at compile time.
struct HolidayColumns {
    int day[kHolidayCount];
    int month[kHolidayCount];
    const char* country[kHolidayCount];
};

constexpr HolidayColumns SplitColumns() {
    HolidayColumns columns{};
    for (std::size_t i = 0; i < kHolidayCount; ++i) {
        columns.day[i] = kRows[i].day;
        columns.month[i] = kRows[i].month;
        columns.country[i] = kRows[i].country;
    }
    return columns;
}

constexpr HolidayColumns kColumns = SplitColumns();

}  // namespace

const int (&g_holidayDay)[kHolidayCount] = kColumns.day;
const int (&g_holidayMonth)[kHolidayCount] = kColumns.month;
const char* const (&g_holidayCountry)[kHolidayCount] = kColumns.country;

const char* const g_monthName[12] = {
    "Jänner", "Februar", "März",      "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember",
};
