#include "holidays/HolidayTable.h"

namespace {

// The 193 country names, each defined once; every row that names a country
// points at its one string.
constexpr wchar_t kAegypten[]                    = L"Ägypten";
constexpr wchar_t kAequatorialguinea[]           = L"Äquatorialguinea";
constexpr wchar_t kAethiopien[]                  = L"Äthiopien";
constexpr wchar_t kAfghanistan[]                 = L"Afghanistan";
constexpr wchar_t kAlbanien[]                    = L"Albanien";
constexpr wchar_t kAlgerien[]                    = L"Algerien";
constexpr wchar_t kAndorra[]                     = L"Andorra";
constexpr wchar_t kAngola[]                      = L"Angola";
constexpr wchar_t kAntiguaUndBarbadu[]           = L"Antigua und Barbadu";
constexpr wchar_t kArgentinien[]                 = L"Argentinien";
constexpr wchar_t kArmenien[]                    = L"Armenien";
constexpr wchar_t kAserbaidschan[]               = L"Aserbaidschan";
constexpr wchar_t kAustralien[]                  = L"Australien";
constexpr wchar_t kBahamas[]                     = L"Bahamas";
constexpr wchar_t kBahrain[]                     = L"Bahrain";
constexpr wchar_t kBangladesch[]                 = L"Bangladesch";
constexpr wchar_t kBarbados[]                    = L"Barbados";
constexpr wchar_t kBelgien[]                     = L"Belgien";
constexpr wchar_t kBelize[]                      = L"Belize";
constexpr wchar_t kBenin[]                       = L"Benin";
constexpr wchar_t kBhutan[]                      = L"Bhutan";
constexpr wchar_t kBolivien[]                    = L"Bolivien";
constexpr wchar_t kBosnienHerzegowina[]          = L"Bosnien-Herzegowina";
constexpr wchar_t kBotsuana[]                    = L"Botsuana";
constexpr wchar_t kBrasilien[]                   = L"Brasilien";
constexpr wchar_t kBrunei[]                      = L"Brunei";
constexpr wchar_t kBulgarien[]                   = L"Bulgarien";
constexpr wchar_t kBurkinaFaso[]                 = L"Burkina Faso";
constexpr wchar_t kBurundi[]                     = L"Burundi";
constexpr wchar_t kChile[]                       = L"Chile";
constexpr wchar_t kChinaRep[]                    = L"China (Rep.)";
constexpr wchar_t kChinaVR[]                     = L"China (VR)";
constexpr wchar_t kCostaRica[]                   = L"Costa Rica";
constexpr wchar_t kDaenemark[]                   = L"Dänemark";
constexpr wchar_t kDeutschland[]                 = L"Deutschland";
constexpr wchar_t kDominica[]                    = L"Dominica";
constexpr wchar_t kDominikanischeRepublik[]      = L"Dominikanische Republik";
constexpr wchar_t kDschibuti[]                   = L"Dschibuti";
constexpr wchar_t kEcuador[]                     = L"Ecuador";
constexpr wchar_t kElfenbeinkueste[]             = L"Elfenbeinküste";
constexpr wchar_t kElSalvador[]                  = L"El Salvador";
constexpr wchar_t kEngland[]                     = L"England";
constexpr wchar_t kEritrea[]                     = L"Eritrea";
constexpr wchar_t kEstland[]                     = L"Estland";
constexpr wchar_t kFidschi[]                     = L"Fidschi";
constexpr wchar_t kFinnland[]                    = L"Finnland";
constexpr wchar_t kFrankreich[]                  = L"Frankreich";
constexpr wchar_t kGabun[]                       = L"Gabun";
constexpr wchar_t kGambia[]                      = L"Gambia";
constexpr wchar_t kGeorgien[]                    = L"Georgien";
constexpr wchar_t kGhana[]                       = L"Ghana";
constexpr wchar_t kGrenada[]                     = L"Grenada";
constexpr wchar_t kGriechenland[]                = L"Griechenland";
constexpr wchar_t kGrossbritannien[]             = L"Großbritannien";
constexpr wchar_t kGuatemala[]                   = L"Guatemala";
constexpr wchar_t kGuinea[]                      = L"Guinea";
constexpr wchar_t kGuineaBissau[]                = L"Guinea-Bissau";
constexpr wchar_t kGuyana[]                      = L"Guyana";
constexpr wchar_t kHaiti[]                       = L"Haiti";
constexpr wchar_t kHonduras[]                    = L"Honduras";
constexpr wchar_t kIndien[]                      = L"Indien";
constexpr wchar_t kIndonesien[]                  = L"Indonesien";
constexpr wchar_t kIrak[]                        = L"Irak";
constexpr wchar_t kIran[]                        = L"Iran";
constexpr wchar_t kIrland[]                      = L"Irland";
constexpr wchar_t kIsland[]                      = L"Island";
constexpr wchar_t kIsrael[]                      = L"Israel";
constexpr wchar_t kItalien[]                     = L"Italien";
constexpr wchar_t kJamaika[]                     = L"Jamaika";
constexpr wchar_t kJapan[]                       = L"Japan";
constexpr wchar_t kJemen[]                       = L"Jemen";
constexpr wchar_t kJordanien[]                   = L"Jordanien";
constexpr wchar_t kJugoslawien[]                 = L"Jugoslawien";
constexpr wchar_t kKambodscha[]                  = L"Kambodscha";
constexpr wchar_t kKamerun[]                     = L"Kamerun";
constexpr wchar_t kKanada[]                      = L"Kanada";
constexpr wchar_t kKapVerde[]                    = L"Kap Verde";
constexpr wchar_t kKasachstan[]                  = L"Kasachstan";
constexpr wchar_t kKatar[]                       = L"Katar";
constexpr wchar_t kKenia[]                       = L"Kenia";
constexpr wchar_t kKirgistan[]                   = L"Kirgistan";
constexpr wchar_t kKiribati[]                    = L"Kiribati";
constexpr wchar_t kKolumbien[]                   = L"Kolumbien";
constexpr wchar_t kKomoren[]                     = L"Komoren";
constexpr wchar_t kKongoDemRep[]                 = L"Kongo (Dem. Rep.)";
constexpr wchar_t kKongoRep[]                    = L"Kongo (Rep.)";
constexpr wchar_t kKroatien[]                    = L"Kroatien";
constexpr wchar_t kKuba[]                        = L"Kuba";
constexpr wchar_t kKuwait[]                      = L"Kuwait";
constexpr wchar_t kLaos[]                        = L"Laos";
constexpr wchar_t kLesotho[]                     = L"Lesotho";
constexpr wchar_t kLettland[]                    = L"Lettland";
constexpr wchar_t kLibanon[]                     = L"Libanon";
constexpr wchar_t kLiberia[]                     = L"Liberia";
constexpr wchar_t kLibyen[]                      = L"Libyen";
constexpr wchar_t kLiechtenstein[]               = L"Liechtenstein";
constexpr wchar_t kLitauen[]                     = L"Litauen";
constexpr wchar_t kLuxemburg[]                   = L"Luxemburg";
constexpr wchar_t kMadagaskar[]                  = L"Madagaskar";
constexpr wchar_t kMalawi[]                      = L"Malawi";
constexpr wchar_t kMalaysia[]                    = L"Malaysia";
constexpr wchar_t kMalediven[]                   = L"Malediven";
constexpr wchar_t kMali[]                        = L"Mali";
constexpr wchar_t kMalta[]                       = L"Malta";
constexpr wchar_t kMarokko[]                     = L"Marokko";
constexpr wchar_t kMarshallinseln[]              = L"Marshallinseln";
constexpr wchar_t kMauretanien[]                 = L"Mauretanien";
constexpr wchar_t kMauritius[]                   = L"Mauritius";
constexpr wchar_t kMazedonien[]                  = L"Mazedonien";
constexpr wchar_t kMexiko[]                      = L"Mexiko";
constexpr wchar_t kMikronesien[]                 = L"Mikronesien";
constexpr wchar_t kMoldau[]                      = L"Moldau";
constexpr wchar_t kMonaco[]                      = L"Monaco";
constexpr wchar_t kMongolei[]                    = L"Mongolei";
constexpr wchar_t kMosambik[]                    = L"Mosambik";
constexpr wchar_t kMyanmar[]                     = L"Myanmar";
constexpr wchar_t kNamibia[]                     = L"Namibia";
constexpr wchar_t kNauru[]                       = L"Nauru";
constexpr wchar_t kNepal[]                       = L"Nepal";
constexpr wchar_t kNeuseeland[]                  = L"Neuseeland";
constexpr wchar_t kNicaragua[]                   = L"Nicaragua";
constexpr wchar_t kNiederlande[]                 = L"Niederlande";
constexpr wchar_t kNiger[]                       = L"Niger";
constexpr wchar_t kNigeria[]                     = L"Nigeria";
constexpr wchar_t kNorwegen[]                    = L"Norwegen";
constexpr wchar_t kOesterreich[]                 = L"Österreich";
constexpr wchar_t kOman[]                        = L"Oman";
constexpr wchar_t kPakistan[]                    = L"Pakistan";
constexpr wchar_t kPalau[]                       = L"Palau";
constexpr wchar_t kPanama[]                      = L"Panama";
constexpr wchar_t kPapuaNeuguinea[]              = L"Papua-Neuguinea";
constexpr wchar_t kParaguay[]                    = L"Paraguay";
constexpr wchar_t kPeru[]                        = L"Peru";
constexpr wchar_t kPhilippinen[]                 = L"Philippinen";
constexpr wchar_t kPolen[]                       = L"Polen";
constexpr wchar_t kPortugal[]                    = L"Portugal";
constexpr wchar_t kRuanda[]                      = L"Ruanda";
constexpr wchar_t kRumaenien[]                   = L"Rumänien";
constexpr wchar_t kRussischeFoederation[]        = L"Russische Föderation";
constexpr wchar_t kSahara[]                      = L"Sahara";
constexpr wchar_t kSalomonen[]                   = L"Salomonen";
constexpr wchar_t kSambia[]                      = L"Sambia";
constexpr wchar_t kSamoa[]                       = L"Samoa";
constexpr wchar_t kSanMarino[]                   = L"San Marino";
constexpr wchar_t kSaoTomeUndPrincipe[]          = L"São Tomé und Príncipe";
constexpr wchar_t kSaudiArabien[]                = L"Saudi-Arabien";
constexpr wchar_t kSchottland[]                  = L"Schottland";
constexpr wchar_t kSchweden[]                    = L"Schweden";
constexpr wchar_t kSchweiz[]                     = L"Schweiz";
constexpr wchar_t kSenegal[]                     = L"Senegal";
constexpr wchar_t kSeychellen[]                  = L"Seychellen";
constexpr wchar_t kSierraLeone[]                 = L"Sierra Leone";
constexpr wchar_t kSimbabwe[]                    = L"Simbabwe";
constexpr wchar_t kSingapur[]                    = L"Singapur";
constexpr wchar_t kSlowakei[]                    = L"Slowakei";
constexpr wchar_t kSlowenien[]                   = L"Slowenien";
constexpr wchar_t kSomalia[]                     = L"Somalia";
constexpr wchar_t kSpanien[]                     = L"Spanien";
constexpr wchar_t kSriLanka[]                    = L"Sri Lanka";
constexpr wchar_t kStKittsUndNevis[]             = L"St. Kitts und Nevis";
constexpr wchar_t kStLucia[]                     = L"St. Lucia";
constexpr wchar_t kStVincentUndDieGrenadien[]    = L"St. Vincent und die Grenadien";
constexpr wchar_t kSudan[]                       = L"Sudan";
constexpr wchar_t kSuedafrika[]                  = L"Südafrika";
constexpr wchar_t kSuriname[]                    = L"Suriname";
constexpr wchar_t kSwasiland[]                   = L"Swasiland";
constexpr wchar_t kSyrien[]                      = L"Syrien";
constexpr wchar_t kTadschikistan[]               = L"Tadschikistan";
constexpr wchar_t kTansania[]                    = L"Tansania";
constexpr wchar_t kThailand[]                    = L"Thailand";
constexpr wchar_t kTogo[]                        = L"Togo";
constexpr wchar_t kTonga[]                       = L"Tonga";
constexpr wchar_t kTrinidadUndTobago[]           = L"Trinidad und Tobago";
constexpr wchar_t kTschad[]                      = L"Tschad";
constexpr wchar_t kTschechischeRepublik[]        = L"Tschechische Republik";
constexpr wchar_t kTuerkei[]                     = L"Türkei";
constexpr wchar_t kTunesien[]                    = L"Tunesien";
constexpr wchar_t kTurkmenistan[]                = L"Turkmenistan";
constexpr wchar_t kTuvalu[]                      = L"Tuvalu";
constexpr wchar_t kUganda[]                      = L"Uganda";
constexpr wchar_t kUkraine[]                     = L"Ukraine";
constexpr wchar_t kUngarn[]                      = L"Ungarn";
constexpr wchar_t kUruguay[]                     = L"Uruguay";
constexpr wchar_t kUsbekistan[]                  = L"Usbekistan";
constexpr wchar_t kVanuatu[]                     = L"Vanuatu";
constexpr wchar_t kVatikanstadt[]                = L"Vatikanstadt";
constexpr wchar_t kVenezuela[]                   = L"Venezuela";
constexpr wchar_t kVereinigteArabischeEmirate[]  = L"Vereinigte Arabische Emirate";
constexpr wchar_t kVietnam[]                     = L"Vietnam";
constexpr wchar_t kWales[]                       = L"Wales";
constexpr wchar_t kWeissrussland[]               = L"Weißrußland";
constexpr wchar_t kZentralafrikanischeRepublik[] = L"Zentralafrikanische Republik";
constexpr wchar_t kZypern[]                      = L"Zypern";

struct HolidayRow {
    int day;
    int month;
    const wchar_t* country;
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
    const wchar_t* country[kHolidayCount];
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
const wchar_t* const (&g_holidayCountry)[kHolidayCount] = kColumns.country;

const wchar_t* const g_monthName[12] = {
    L"Jänner", L"Februar", L"März",      L"April",   L"Mai",      L"Juni",
    L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember",
};
