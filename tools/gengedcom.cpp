// Deterministic generator of realistic synthetic GEDCOM files for tests and benchmarks.
//
//   gengedcom --individuals N [--seed S] [--surnames K] [--given-names G] [--charset UTF-8|ANSEL]
//             [--eol crlf|lf|cr] [--bom] --out file.ged
//
// The same arguments always give the same bytes. The tree is built in groups: each
// group starts from a few founder couples and grows family by family; children marry
// outsiders, now and then a cousin of their own group (pedigree collapse) or a second
// spouse; groups never marry into each other, so the file has unconnected islands,
// from single individuals to one large connected tree. Outsiders take one of the
// word list's surnames, or with --surnames one of K made from them; everyone takes
// one of the word list's given names of their sex, or with --given-names one of G
// made from them. Only the standard library.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------- random numbers
// Own generator (splitmix64): std distributions differ between library versions.
struct Rng {
    std::uint64_t s;
    explicit Rng(std::uint64_t seed) : s(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= r < n
    std::uint32_t below(std::uint32_t n) { return n ? std::uint32_t((next() >> 32) * n >> 32) : 0; }
    int range(int lo, int hi) { return lo + int(below(std::uint32_t(hi - lo + 1))); }
    bool chance(unsigned percentTimes10) { return below(1000) < percentTimes10; }
};

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    Rng r(a * 0x100000001B3ull ^ (b + 0x632BE59BD9B4E019ull));
    return r.next();
}

// ---------------------------------------------------------------- word lists (UTF-8)
const char* const kMaleGiven[] = {
    "John",    "William",   "James",   "George", "Charles",  "Thomas",  "Henry",    "Robert",  "Joseph", "Edward",
    "Samuel",  "David",     "Richard", "Peter",  "Daniel",   "Michael", "Andrew",   "Walter",  "Arthur", "Albert",
    "Francis", "Frederick", "Hugh",    "Isaac",  "Jacob",    "Martin",  "Nicholas", "Patrick", "Paul",   "Simon",
    "José",    "François",  "André",   "Björn",  "Søren",    "Jürgen",  "Raphaël",  "Ñuño",    "Ángel",  "Jérôme",
    "Zoltán",  "Øystein",   "Günther", "Noël",   "Stéphane", "Benoît",  "Joël",     "Íñigo",   "Mátyás", "Ægir"};
const char* const kFemaleGiven[] = {
    "Mary",    "Elizabeth", "Sarah",   "Anna",   "Margaret", "Catherine", "Jane",      "Ann",   "Alice",  "Emma",
    "Martha",  "Susan",     "Ellen",   "Hannah", "Rebecca",  "Rachel",    "Ruth",      "Grace", "Clara",  "Louisa",
    "Harriet", "Agnes",     "Dorothy", "Edith",  "Frances",  "Helen",     "Isabel",    "Julia", "Lucy",   "Rose",
    "Zoë",     "Chloé",     "Hélène",  "Renée",  "Ågot",     "Ingrid",    "Françoise", "Inês",  "Brönte", "Élise",
    "Maëlle",  "Ségolène",  "Åse",     "Ærin",   "Dörte",    "Lætitia",   "Mónica",    "Göran", "Síle",   "Anaïs"};
const char* const kSurnames[] = {
    "Smith",      "Johnson",  "Williams",  "Brown",    "Jones",     "Miller",       "Davis",      "Wilson",
    "Anderson",   "Taylor",   "Thomas",    "Moore",    "Martin",    "Jackson",      "Thompson",   "White",
    "Harris",     "Clark",    "Lewis",     "Robinson", "Walker",    "Young",        "Allen",      "King",
    "Wright",     "Scott",    "Green",     "Baker",    "Adams",     "Nelson",       "Hill",       "Campbell",
    "Mitchell",   "Roberts",  "Carter",    "Phillips", "Evans",     "Turner",       "Torres",     "Parker",
    "Collins",    "Edwards",  "Stewart",   "Morris",   "Murphy",    "Cook",         "Rogers",     "Morgan",
    "Cooper",     "Peterson", "Bailey",    "Reed",     "Kelly",     "Howard",       "Cox",        "Ward",
    "Richardson", "Watson",   "Brooks",    "Wood",     "James",     "Bennett",      "Gray",       "Hughes",
    "Price",      "Sanders",  "Myers",     "Long",     "Ross",      "Foster",       "Müller",     "Schäfer",
    "Böhm",       "Jäger",    "Köhler",    "Krüger",   "Größ",      "Weiß",         "Öberg",      "Åkesson",
    "Sørensen",   "Lefèvre",  "Dubé",      "Gagné",    "Bélanger",  "Côté",         "Pelletier",  "Lévesque",
    "Ménard",     "Gómez",    "Muñoz",     "Peña",     "Ibáñez",    "Núñez",        "Façade",     "Garçon",
    "Ærøe",       "Þórsson",  "Dvořák",    "MacLeod",  "O'Brien",   "van der Berg", "de la Cruz", "Fitzgerald",
    "Holloway",   "Ashford",  "Blackwood", "Cromwell", "Davenport", "Ellsworth",    "Fairchild",  "Greenwood",
    "Hargrove",   "Ingram",   "Kingsley",  "Lockwood"};
const char* const kTowns[] = {
    "Ashby",          "Bradford",  "Carlisle",   "Dunmore",   "Eastwood", "Fairfield",   "Glenrock", "Hartley",
    "Ivybridge",      "Kendal",    "Lynton",     "Marlow",    "Newbury",  "Oakham",      "Penrith",  "Redhill",
    "Selby",          "Thornbury", "Upton",      "Wexford",   "Yarmouth", "Zell am See", "Québec",   "Montréal",
    "Trois-Rivières", "Besançon",  "Nîmes",      "Göttingen", "Lübeck",   "Malmö",       "Århus",    "Tromsø",
    "Cádiz",          "León",      "São Paulo",  "Zürich",    "Genève",   "Springfield", "Salem",    "Franklin",
    "Clinton",        "Madison",   "Georgetown", "Arlington", "Ashland",  "Dover"};
const char* const kCounties[] = {"Kent",    "Essex",      "Yorkshire",  "Devon",     "Cornwall",  "Norfolk",
                                 "Suffolk", "Lancashire", "Cumberland", "Bas-Rhin",  "Bayern",    "Skåne",
                                 "Jylland", "Andalucía",  "Worcester",  "Middlesex", "Hampshire", "Orange"};
const char* const kCountries[] = {"England", "Scotland", "Ireland", "Wales",  "France", "Germany",     "Sweden",
                                  "Denmark", "Norway",   "Spain",   "Canada", "USA",    "Switzerland", "Brazil"};
const char* const kOccupations[] = {
    "Farmer",    "Labourer",   "Blacksmith", "Carpenter", "Weaver",   "Miller",  "Baker",    "Tailor", "Shoemaker",
    "Merchant",  "Clerk",      "Teacher",    "Physician", "Minister", "Sailor",  "Soldier",  "Mason",  "Cooper",
    "Innkeeper", "Seamstress", "Servant",    "Engineer",  "Lawyer",   "Printer", "Gardener", "Butcher"};
const char* const kCauses[] = {"Fever",      "Consumption", "Old age",       "Pneumonia", "Accident",
                               "Childbirth", "Smallpox",    "Heart failure", "Drowning",  "Influenza"};
const char* const kWords[] = {
    "the",      "family",  "lived",    "in",      "a",         "small",  "house",    "near",    "church",   "and",
    "worked",   "on",      "land",     "of",      "his",       "her",    "father",   "mother",  "was",      "born",
    "during",   "winter",  "after",    "long",    "journey",   "from",   "old",      "country", "records",  "show",
    "that",     "they",    "moved",    "to",      "town",      "where",  "children", "were",    "baptised", "register",
    "mentions", "brother", "sister",   "who",     "emigrated", "with",   "little",   "money",   "but",      "great",
    "hope",     "letters", "describe", "harvest", "storm",     "mill",   "river",    "bridge",  "parish",   "priest",
    "wrote",    "entry",   "dated",    "spring",  "summer",    "autumn", "company",  "ship",    "arrived",  "harbour",
    "café",     "naïve",   "fiancée",  "résumé",  "señor",     "Straße"};
const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const kTemples[] = {"SLAKE", "LOGAN", "MANTI", "STGEO", "LONDO", "SWISS"};
const char* const kStatus[] = {"COMPLETED", "SUBMITTED", "CLEARED", "CHILD", "STILLBORN"};
const char* const kRepoNames[] = {"County Record Office", "National Archives",  "Diocesan Archive",
                                  "Public Library",       "Historical Society", "Family Papers"};
const char* const kSourceKinds[] = {"Parish register of",    "Census of",      "Land records of", "Probate court of",
                                    "Civil registration of", "Church book of", "Newspaper of"};

template <class T, std::size_t N>
constexpr std::uint32_t countOf(const T (&)[N]) {
    return std::uint32_t(N);
}

// ---------------------------------------------------------------- charset encoding
bool gAnsel = false;

// Decodes one UTF-8 sequence at s[i]; advances i.
std::uint32_t decodeUtf8(std::string_view s, std::size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    std::uint32_t v = c & (0x3F >> n);
    while (n-- > 0 && i < s.size()) v = (v << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return v;
}

// ANSEL bytes of one Latin-1 letter: a combining mark before its base letter, or a spacing character.
void appendAnselChar(std::string& out, std::uint32_t cp) {
    struct Combo {
        std::uint32_t cp;
        unsigned char mark;
        char base;
    };
    static const Combo combos[] = {
        {0xC0, 0xE1, 'A'}, {0xC8, 0xE1, 'E'}, {0xCC, 0xE1, 'I'}, {0xD2, 0xE1, 'O'},  {0xD9, 0xE1, 'U'},
        {0xE0, 0xE1, 'a'}, {0xE8, 0xE1, 'e'}, {0xEC, 0xE1, 'i'}, {0xF2, 0xE1, 'o'},  {0xF9, 0xE1, 'u'},
        {0xC1, 0xE2, 'A'}, {0xC9, 0xE2, 'E'}, {0xCD, 0xE2, 'I'}, {0xD3, 0xE2, 'O'},  {0xDA, 0xE2, 'U'},
        {0xDD, 0xE2, 'Y'}, {0xE1, 0xE2, 'a'}, {0xE9, 0xE2, 'e'}, {0xED, 0xE2, 'i'},  {0xF3, 0xE2, 'o'},
        {0xFA, 0xE2, 'u'}, {0xFD, 0xE2, 'y'}, {0xC2, 0xE3, 'A'}, {0xCA, 0xE3, 'E'},  {0xCE, 0xE3, 'I'},
        {0xD4, 0xE3, 'O'}, {0xDB, 0xE3, 'U'}, {0xE2, 0xE3, 'a'}, {0xEA, 0xE3, 'e'},  {0xEE, 0xE3, 'i'},
        {0xF4, 0xE3, 'o'}, {0xFB, 0xE3, 'u'}, {0xC3, 0xE4, 'A'}, {0xD1, 0xE4, 'N'},  {0xD5, 0xE4, 'O'},
        {0xE3, 0xE4, 'a'}, {0xF1, 0xE4, 'n'}, {0xF5, 0xE4, 'o'}, {0xC4, 0xE8, 'A'},  {0xCB, 0xE8, 'E'},
        {0xCF, 0xE8, 'I'}, {0xD6, 0xE8, 'O'}, {0xDC, 0xE8, 'U'}, {0x178, 0xE8, 'Y'}, {0xE4, 0xE8, 'a'},
        {0xEB, 0xE8, 'e'}, {0xEF, 0xE8, 'i'}, {0xF6, 0xE8, 'o'}, {0xFC, 0xE8, 'u'},  {0xFF, 0xE8, 'y'},
        {0xE5, 0xEA, 'a'}, {0xC5, 0xEA, 'A'}, {0xE7, 0xF0, 'c'}, {0xC7, 0xF0, 'C'}};
    struct Spacing {
        std::uint32_t cp;
        unsigned char b;
    };
    static const Spacing spacing[] = {{0xD8, 0xA2},  {0xD0, 0xA3}, {0xDE, 0xA4}, {0xC6, 0xA5},
                                      {0x152, 0xA6}, {0xF8, 0xB2}, {0xFE, 0xB4}, {0xE6, 0xB5},
                                      {0x153, 0xB6}, {0xDF, 0xCF}, {0xA3, 0xB9}};
    if (cp < 0x80) {
        out.push_back(char(cp));
        return;
    }
    for (const auto& c : combos)
        if (c.cp == cp) {
            out.push_back(char(c.mark));
            out.push_back(c.base);
            return;
        }
    for (const auto& s : spacing)
        if (s.cp == cp) {
            out.push_back(char(s.b));
            return;
        }
    // Anything ANSEL cannot say.
    out.push_back('?');
}

// Text of the word lists in the file's character set.
std::string encode(std::string_view utf8) {
    if (!gAnsel) return std::string(utf8);
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) appendAnselChar(out, decodeUtf8(utf8, i));
    return out;
}

std::vector<std::string> encodeList(const char* const* list, std::uint32_t n) {
    std::vector<std::string> v;
    v.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) v.push_back(encode(list[i]));
    return v;
}

// ---------------------------------------------------------------- output buffer
class Out {
public:
    Out(std::FILE* f, std::string eol) : m_f(f), m_eol(std::move(eol)) { m_buf.reserve(kChunk + 65536); }
    ~Out() { flush(); }
    Out& s(std::string_view t) {
        m_buf.append(t);
        return *this;
    }
    Out& c(char ch) {
        m_buf.push_back(ch);
        return *this;
    }
    Out& n(long long v) {
        char tmp[24];
        int len = 0;
        bool neg = v < 0;
        unsigned long long u = neg ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        do {
            tmp[len++] = char('0' + u % 10);
            u /= 10;
        } while (u);
        if (neg) m_buf.push_back('-');
        while (len) m_buf.push_back(tmp[--len]);
        return *this;
    }
    // "@I123@"
    Out& x(char kind, long long id) {
        c('@').c(kind).n(id).c('@');
        return *this;
    }
    void end() {
        m_buf.append(m_eol);
        if (m_buf.size() >= kChunk) flush();
    }
    // One whole line: "<level> <tag>[ <value>]".
    Out& line(int level, std::string_view tag) {
        n(level).c(' ').s(tag);
        return *this;
    }
    void flush() {
        if (!m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_f) != m_buf.size()) failed = true;
        m_buf.clear();
    }
    bool failed = false;

private:
    static constexpr std::size_t kChunk = 4u << 20;
    std::FILE* m_f;
    std::string m_eol;
    std::string m_buf;
};

// ---------------------------------------------------------------- the tree
constexpr int kNone = 0;

struct Person {
    std::int32_t famc = kNone; // family as child
    std::int16_t birth = 0;    // year
    std::int16_t death = 0;    // year, 0 = living
    std::uint32_t given = 0;
    std::uint32_t surname = 0;
    std::uint8_t sex = 'M';
    std::uint8_t group = 0; // only for cousin choice; wraps harmlessly
};

struct Family {
    std::int32_t husb = kNone, wife = kNone;
    std::int32_t firstChild = 0;
    std::int32_t childCount = 0;
    std::int16_t year = 0; // marriage year
};

class Tree {
public:
    Tree(std::int64_t n, std::uint64_t seed, std::uint32_t surnames, std::uint32_t givenNames)
        : m_target(n), m_rng(seed), m_surnameCount(surnames ? surnames : countOf(kSurnames)), m_givenCount(givenNames) {
        m_people.reserve(std::size_t(n) + 1);
        m_people.emplace_back(); // slot 0 unused: ids are 1-based
        m_families.reserve(std::size_t(n / 2) + 16);
        m_families.emplace_back();
    }

    void build() {
        // Roughly: one big tree with about 70% of everybody, then groups of a few to a few thousand,
        // and one individual in 200 alone without any family.
        int group = 0;
        while (count() < m_target) {
            std::int64_t left = m_target - count();
            std::int64_t budget;
            if (group == 0)
                budget = left * 7 / 10;
            else if (m_rng.chance(150))
                budget = 1; // isolated individual
            else {
                int bits = m_rng.range(2, 12);
                budget = std::int64_t(m_rng.range(1 << (bits - 1), 1 << bits));
            }
            if (budget < 1) budget = 1;
            if (budget > left) budget = left;
            growGroup(budget, std::uint8_t(group));
            ++group;
        }
        m_groups = group;
    }

    std::int64_t count() const { return std::int64_t(m_people.size()) - 1; }
    std::int64_t familyCount() const { return std::int64_t(m_families.size()) - 1; }
    const Person& person(std::int64_t i) const { return m_people[std::size_t(i)]; }
    const Family& family(std::int64_t i) const { return m_families[std::size_t(i)]; }
    int groups() const { return m_groups; }

    // Spouse families of each person, in order of marriage (compressed rows).
    void indexSpouses() {
        m_famsStart.assign(m_people.size() + 1, 0);
        for (std::size_t f = 1; f < m_families.size(); ++f) {
            if (m_families[f].husb) ++m_famsStart[std::size_t(m_families[f].husb) + 1];
            if (m_families[f].wife) ++m_famsStart[std::size_t(m_families[f].wife) + 1];
        }
        for (std::size_t i = 1; i < m_famsStart.size(); ++i) m_famsStart[i] += m_famsStart[i - 1];
        m_fams.assign(std::size_t(m_famsStart.back()), 0);
        std::vector<std::int32_t> fill(m_famsStart.begin(), m_famsStart.end() - 1);
        for (std::size_t f = 1; f < m_families.size(); ++f) {
            if (m_families[f].husb) m_fams[std::size_t(fill[std::size_t(m_families[f].husb)]++)] = std::int32_t(f);
            if (m_families[f].wife) m_fams[std::size_t(fill[std::size_t(m_families[f].wife)]++)] = std::int32_t(f);
        }
    }
    std::int32_t spouseFamilyCount(std::int64_t p) const {
        return m_famsStart[std::size_t(p) + 1] - m_famsStart[std::size_t(p)];
    }
    std::int32_t spouseFamily(std::int64_t p, std::int32_t k) const {
        return m_fams[std::size_t(m_famsStart[std::size_t(p)] + k)];
    }

private:
    std::int32_t addPerson(std::uint8_t sex, int birth, std::int32_t famc, std::uint32_t surname, std::uint8_t group) {
        Person p;
        p.sex = sex;
        p.birth = std::int16_t(birth);
        p.famc = famc;
        p.group = group;
        p.given = m_rng.below(m_givenCount ? m_givenCount : sex == 'M' ? countOf(kMaleGiven) : countOf(kFemaleGiven));
        p.surname = surname;
        int life = m_rng.chance(150) ? m_rng.range(0, 5) : m_rng.range(20, 95);
        int death = birth + life;
        p.death = death > 2022 ? std::int16_t(0) : std::int16_t(death);
        m_people.push_back(p);
        return std::int32_t(m_people.size() - 1);
    }

    std::int32_t addOutsider(std::uint8_t sex, int aroundYear, std::uint8_t group) {
        return addPerson(sex, aroundYear + m_rng.range(-6, 6), kNone, m_rng.below(m_surnameCount), group);
    }

    std::int32_t marry(std::int32_t a, std::int32_t b, int year) {
        Family f;
        if (m_people[std::size_t(a)].sex == 'M') {
            f.husb = a;
            f.wife = b;
        } else {
            f.husb = b;
            f.wife = a;
        }
        f.year = std::int16_t(year);
        m_families.push_back(f);
        return std::int32_t(m_families.size() - 1);
    }

    // Single people of the group who may still marry a relative.
    struct Pool {
        std::vector<std::int32_t> men, women;
    };

    std::int32_t takeCousin(Pool& pool, const Person& p) {
        auto& v = p.sex == 'M' ? pool.women : pool.men;
        std::size_t tries = v.size() < 24 ? v.size() : 24;
        for (std::size_t t = 0; t < tries; ++t) {
            std::size_t k = v.size() - 1 - m_rng.below(std::uint32_t(v.size() < 64 ? v.size() : 64));
            std::int32_t c = v[k];
            const Person& q = m_people[std::size_t(c)];
            if (q.famc != p.famc && std::abs(q.birth - p.birth) <= 12) {
                v[k] = v.back();
                v.pop_back();
                return c;
            }
        }
        return kNone;
    }

    void growGroup(std::int64_t budget, std::uint8_t group) {
        std::int64_t end = count() + budget;
        if (budget == 1) {
            addOutsider(m_rng.chance(500) ? 'M' : 'F', m_rng.range(1700, 1990), group);
            return;
        }
        Pool pool;
        std::vector<std::int32_t> queue; // families still to get children
        std::size_t head = 0;
        auto founders = [&]() {
            int year = m_rng.range(1500, 1760);
            std::int32_t h = addOutsider('M', year, group);
            std::int32_t w = count() < end ? addOutsider('F', year + 2, group) : kNone;
            if (w == kNone) return;
            queue.push_back(marry(h, w, year + m_rng.range(18, 30)));
        };
        std::int64_t founderCount = budget / 600 + 1;
        for (std::int64_t i = 0; i < founderCount && count() + 1 < end; ++i) founders();

        while (count() < end) {
            if (head == queue.size()) {
                if (count() + 2 > end) {
                    addOutsider('M', m_rng.range(1700, 1990), group);
                    continue;
                }
                founders();
                continue;
            }
            std::int32_t f = queue[head++];
            Family fam = m_families[std::size_t(f)];
            static const int kids[] = {0, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 7, 8, 10, 2};
            int n = kids[m_rng.below(countOf(kids))];
            int year = fam.year;
            std::uint32_t surname = m_people[std::size_t(fam.husb)].surname;
            std::int32_t first = std::int32_t(m_people.size());
            int made = 0;
            for (int k = 0; k < n && count() < end; ++k) {
                year += m_rng.range(1, 4);
                if (year > 2015) break;
                addPerson(m_rng.chance(500) ? 'M' : 'F', year, f, surname, group);
                ++made;
            }
            m_families[std::size_t(f)].firstChild = made ? first : 0;
            m_families[std::size_t(f)].childCount = made;
            // The children's own marriages.
            for (int k = 0; k < made && count() < end; ++k) {
                std::int32_t c = first + k;
                Person p = m_people[std::size_t(c)];
                if (p.death && p.death - p.birth < 17) continue;
                if (m_rng.chance(300)) { // stays single for now: a relative may marry them later
                    (p.sex == 'M' ? pool.men : pool.women).push_back(c);
                    continue;
                }
                int wedding = p.birth + m_rng.range(18, 32);
                if (wedding > 2020) continue;
                std::int32_t spouse = m_rng.chance(60) ? takeCousin(pool, p) : kNone;
                if (spouse == kNone) spouse = addOutsider(p.sex == 'M' ? 'F' : 'M', p.birth, group);
                queue.push_back(marry(c, spouse, wedding));
                if (count() < end && m_rng.chance(120)) {
                    // A second marriage some years on.
                    int later = wedding + m_rng.range(5, 20);
                    if (later <= 2020 && (!p.death || later < p.death)) {
                        std::int32_t s2 = addOutsider(p.sex == 'M' ? 'F' : 'M', p.birth + 5, group);
                        queue.push_back(marry(c, s2, later));
                    }
                }
            }
        }
    }

    std::int64_t m_target;
    Rng m_rng;
    std::uint32_t m_surnameCount, m_givenCount;
    std::vector<Person> m_people;
    std::vector<Family> m_families;
    std::vector<std::int32_t> m_famsStart, m_fams;
    int m_groups = 0;
};

// ---------------------------------------------------------------- the writer
class Writer {
public:
    Writer(const Tree& t, Out& o, std::uint64_t seed) : m_t(t), m_o(o), m_seed(seed) {
        m_male = encodeList(kMaleGiven, countOf(kMaleGiven));
        m_female = encodeList(kFemaleGiven, countOf(kFemaleGiven));
        m_surnames = encodeList(kSurnames, countOf(kSurnames));
        m_towns = encodeList(kTowns, countOf(kTowns));
        m_counties = encodeList(kCounties, countOf(kCounties));
        m_countries = encodeList(kCountries, countOf(kCountries));
        m_words = encodeList(kWords, countOf(kWords));
        m_sources = std::max<std::int64_t>(5, t.count() / 150);
        m_repos = std::max<std::int64_t>(2, m_sources / 12);
    }

    void write(const std::string& fileName, const char* charset) {
        header(fileName, charset);
        for (std::int64_t i = 1; i <= m_t.count(); ++i) individual(i);
        for (std::int64_t f = 1; f <= m_t.familyCount(); ++f) family(f);
        // Sources before notes: a source may point to a note, which must then get its record.
        for (std::int64_t s = 1; s <= m_sources; ++s) sourceRecord(s);
        for (std::int64_t n = 1; n <= m_notes; ++n) noteRecord(n);
        for (std::int64_t r = 1; r <= m_repos; ++r) repoRecord(r);
        m_o.s("0 TRLR");
        m_o.end();
    }

    std::int64_t notes() const { return m_notes; }
    std::int64_t sources() const { return m_sources; }
    std::int64_t repos() const { return m_repos; }

private:
    void header(const std::string& fileName, const char* charset) {
        m_o.s("0 HEAD");
        m_o.end();
        m_o.s("1 SOUR GENGEDCOM");
        m_o.end();
        m_o.s("2 NAME Synthetic family generator");
        m_o.end();
        m_o.s("2 VERS 1.0");
        m_o.end();
        m_o.s("2 CORP Brenthaul test data");
        m_o.end();
        m_o.s("3 ADDR 1 Example Road");
        m_o.end();
        m_o.s("4 CONT Springfield");
        m_o.end();
        m_o.s("1 DEST ANY");
        m_o.end();
        m_o.s("1 DATE 1 JAN 2024");
        m_o.end();
        m_o.s("2 TIME 12:00:00");
        m_o.end();
        m_o.s("1 SUBM @U1@");
        m_o.end();
        m_o.s("1 FILE ").s(fileName);
        m_o.end();
        m_o.s("1 GEDC");
        m_o.end();
        m_o.s("2 VERS 5.5.1");
        m_o.end();
        m_o.s("2 FORM LINEAGE-LINKED");
        m_o.end();
        m_o.s("1 CHAR ").s(charset);
        m_o.end();
        m_o.s("0 @U1@ SUBM");
        m_o.end();
        m_o.s("1 NAME ").s(encode("Généalogie Synthétique"));
        m_o.end();
        m_o.s("1 ADDR 12 Mill Lane");
        m_o.end();
        m_o.s("2 CONT Ashby");
        m_o.end();
        m_o.s("2 CONT Kent");
        m_o.end();
        m_o.s("1 CTRY England");
        m_o.end();
        m_o.s("1 PHON +44 1234 567890");
        m_o.end();
        m_o.s("1 EMAIL family@example.org");
        m_o.end();
    }

    // The word list's given names of the sex first, then each with syllables after it.
    std::string given(const Person& p) const {
        const std::vector<std::string>& list = p.sex == 'M' ? m_male : m_female;
        return withSyllables(list[p.given % list.size()], p.given / std::uint32_t(list.size()));
    }

    void place(Rng& r, int level) {
        m_o.n(level).s(" PLAC ").s(m_towns[r.below(std::uint32_t(m_towns.size()))]);
        if (!r.chance(100)) m_o.s(", ").s(m_counties[r.below(std::uint32_t(m_counties.size()))]);
        m_o.s(", ").s(m_countries[r.below(std::uint32_t(m_countries.size()))]);
        m_o.end();
    }

    void day(Rng& r, int year) { m_o.n(r.range(1, 28)).c(' ').s(kMonths[r.below(12)]).c(' ').n(year); }

    // A DATE line with one of the usual qualifiers.
    void date(Rng& r, int level, int year, bool period = false) {
        m_o.n(level).s(" DATE ");
        unsigned k = r.below(100);
        if (period) {
            if (k < 60)
                m_o.s("FROM ").n(year).s(" TO ").n(year + r.range(1, 15));
            else if (k < 80)
                m_o.s("FROM ").n(year);
            else
                m_o.s("TO ").n(year);
        } else if (k < 52)
            day(r, year);
        else if (k < 60)
            m_o.s(kMonths[r.below(12)]).c(' ').n(year);
        else if (k < 70)
            m_o.n(year);
        else if (k < 78)
            m_o.s("ABT ").n(year);
        else if (k < 82)
            m_o.s("BEF ").n(year + r.range(0, 2));
        else if (k < 86)
            m_o.s("AFT ").n(year - r.range(0, 2));
        else if (k < 92)
            m_o.s("BET ").n(year - r.range(1, 3)).s(" AND ").n(year + r.range(1, 3));
        else if (k < 95)
            m_o.s("EST ").n(year);
        else if (k < 97)
            m_o.s("CAL ").n(year);
        else if (k < 98)
            m_o.s("ABT ").s(kMonths[r.below(12)]).c(' ').n(year);
        else
            m_o.s("BET ").s(kMonths[r.below(6)]).c(' ').n(year).s(" AND ").s(kMonths[6 + r.below(6)]).c(' ').n(year);
        m_o.end();
    }

    void citation(Rng& r, int level) {
        if (r.chance(30)) { // written inline
            m_o.n(level)
                .s(" SOUR ")
                .s(kSourceKinds[r.below(countOf(kSourceKinds))])
                .c(' ')
                .s(m_towns[r.below(std::uint32_t(m_towns.size()))]);
            m_o.end();
            m_o.n(level + 1).s(" TEXT Entry ").n(r.range(1, 400));
            m_o.end();
            return;
        }
        m_o.n(level).s(" SOUR ").x('S', 1 + r.below(std::uint32_t(m_sources)));
        m_o.end();
        m_o.n(level + 1).s(" PAGE p. ").n(r.range(1, 800));
        m_o.end();
        if (r.chance(100)) {
            m_o.n(level + 1).s(" QUAY ").n(r.range(0, 3));
            m_o.end();
        }
    }

    // Some words, wrapped with CONC and broken into paragraphs with CONT.
    void text(Rng& r, int level, std::string_view first) {
        std::string line(first);
        int words = r.range(6, 90);
        int paragraphs = 0;
        for (int w = 0; w < words; ++w) {
            if (!line.empty()) line.push_back(' ');
            line += m_words[r.below(std::uint32_t(m_words.size()))];
            if (line.size() > 70) {
                // Cut inside the text: the rest continues on a CONC line.
                std::size_t cut = line.size() - 5;
                while (cut > 0 && (line[cut] == ' ' || line[cut - 1] == ' ' ||
                                   (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80 ||
                                   static_cast<unsigned char>(line[cut - 1]) >= 0xE0))
                    --cut;
                m_o.s(std::string_view(line).substr(0, cut));
                m_o.end();
                m_o.n(level + 1).s(" CONC ");
                line.erase(0, cut);
            }
            if (paragraphs < 3 && r.chance(40)) {
                m_o.s(line);
                m_o.end();
                m_o.n(level + 1).s(" CONT");
                if (r.chance(200)) {
                    m_o.end();
                    m_o.n(level + 1).s(" CONT");
                } // empty line
                m_o.c(' ');
                line.clear();
                ++paragraphs;
            }
        }
        m_o.s(line);
        m_o.end();
    }

    void note(Rng& r, int level) {
        if (r.chance(500)) {
            m_o.n(level).s(" NOTE ").x('N', ++m_notes);
            m_o.end();
            return;
        }
        m_o.n(level).s(" NOTE ");
        text(r, level, {});
    }

    // A word of a list, and for its rest-th repeat syllables after it.
    static std::string withSyllables(std::string name, std::uint32_t rest) {
        static const char* const kSyllables[] = {"ar",   "ber", "cot", "dal", "en",  "fer", "gan", "hol",  "ing",
                                                 "jor",  "kel", "lan", "mor", "nes", "ord", "pel", "quin", "ros",
                                                 "sten", "tor", "ul",  "vik", "wes", "xan", "yor", "zel"};
        for (; rest > 0; rest = (rest - 1) / 26) name += kSyllables[(rest - 1) % 26];
        return name;
    }

    // The word list's surnames first, then each with syllables after it.
    std::string surname(std::uint32_t k) const {
        return withSyllables(m_surnames[k % m_surnames.size()], k / std::uint32_t(m_surnames.size()));
    }

    void individual(std::int64_t i) {
        Rng r(mix(m_seed, std::uint64_t(i)));
        const Person& p = m_t.person(i);
        m_o.s("0 ").x('I', i).s(" INDI");
        m_o.end();
        const std::string sur = surname(p.surname);
        m_o.s("1 NAME ");
        if (r.chance(30))
            m_o.s("/").s(sur).s("/ ").s(given(p));
        else
            m_o.s(given(p)).s(" /").s(sur).c('/');
        bool suffix = r.chance(15);
        if (suffix) m_o.s(" Jr");
        m_o.end();
        if (r.chance(300)) {
            m_o.s("2 GIVN ").s(given(p));
            m_o.end();
            m_o.s("2 SURN ").s(sur);
            m_o.end();
        }
        if (r.chance(20)) {
            m_o.s("2 NPFX Rev.");
            m_o.end();
        }
        if (suffix) {
            m_o.s("2 NSFX Jr");
            m_o.end();
        }
        if (r.chance(40)) citation(r, 2);
        if (!r.chance(20)) {
            m_o.s("1 SEX ").c(char(p.sex));
            m_o.end();
        }
        if (!r.chance(80)) {
            m_o.s("1 BIRT");
            m_o.end();
            date(r, 2, p.birth);
            if (!r.chance(150)) place(r, 2);
            if (r.chance(200)) citation(r, 2);
            if (r.chance(20)) note(r, 2);
        }
        if (r.chance(300)) {
            m_o.s("1 CHR");
            m_o.end();
            date(r, 2, p.birth);
            place(r, 2);
        }
        if (r.chance(30)) {
            m_o.s("1 BAPM");
            m_o.end();
            date(r, 2, p.birth);
        }
        if (p.birth > 1800 && r.chance(300)) {
            m_o.s("1 OCCU ").s(kOccupations[r.below(countOf(kOccupations))]);
            m_o.end();
            date(r, 2, p.birth + r.range(16, 30), true);
            if (r.chance(200)) place(r, 2);
        }
        if (r.chance(150)) {
            m_o.s("1 RESI");
            m_o.end();
            date(r, 2, p.birth + r.range(0, 40), r.chance(500));
            place(r, 2);
        }
        if (r.chance(20)) {
            m_o.s("1 EVEN Shipwreck survivor");
            m_o.end();
            m_o.s("2 TYPE Adventure");
            m_o.end();
            date(r, 2, p.birth + r.range(10, 40));
        }
        if (p.birth > 1860 && r.chance(40)) {
            m_o.s("1 IMMI");
            m_o.end();
            date(r, 2, p.birth + r.range(15, 35));
            place(r, 2);
        }
        if (p.death) {
            if (r.chance(900)) {
                m_o.s("1 DEAT");
                m_o.end();
                date(r, 2, p.death);
                if (!r.chance(250)) place(r, 2);
                if (r.chance(150)) {
                    m_o.s("2 CAUS ").s(kCauses[r.below(countOf(kCauses))]);
                    m_o.end();
                }
            }
            if (r.chance(350)) {
                m_o.s("1 BURI");
                m_o.end();
                date(r, 2, p.death + (r.chance(900) ? 0 : 1));
                place(r, 2);
            }
        } else if (p.birth < 1930) {
            m_o.s("1 DEAT Y");
            m_o.end();
        }
        if (r.chance(15)) {
            m_o.s("1 BAPL");
            m_o.end();
            if (r.chance(500))
                date(r, 2, 1970 + r.range(0, 40));
            else {
                m_o.s("2 STAT ").s(kStatus[r.below(countOf(kStatus))]);
                m_o.end();
            }
            m_o.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            m_o.end();
            m_o.s("1 ENDL");
            m_o.end();
            date(r, 2, 1970 + r.range(0, 40));
            m_o.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            m_o.end();
            if (p.famc) {
                m_o.s("1 SLGC");
                m_o.end();
                m_o.s("2 FAMC ").x('F', p.famc);
                m_o.end();
                m_o.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
                m_o.end();
            }
        }
        if (p.famc) {
            m_o.s("1 FAMC ").x('F', p.famc);
            m_o.end();
            if (r.chance(10)) {
                m_o.s("2 PEDI birth");
                m_o.end();
            }
        }
        for (std::int32_t k = 0, n = m_t.spouseFamilyCount(i); k < n; ++k) {
            m_o.s("1 FAMS ").x('F', m_t.spouseFamily(i, k));
            m_o.end();
        }
        if (r.chance(60)) { // a second name
            m_o.s("1 NAME ").s(given(p)).s(" /").s(m_surnames[r.below(std::uint32_t(m_surnames.size()))]).c('/');
            m_o.end();
            m_o.s("2 TYPE aka");
            m_o.end();
        }
        if (r.chance(100)) note(r, 1);
        if (r.chance(15)) note(r, 1);
        if (r.chance(250)) citation(r, 1);
        if (r.chance(50)) citation(r, 1);
        if (r.chance(40)) {
            m_o.s("1 REFN ").n(100000 + i);
            m_o.end();
        }
        if (r.chance(10)) {
            m_o.s("1 AFN ").n(1000 + i).s("-").n(r.range(10, 99));
            m_o.end();
        }
        if (r.chance(250)) {
            m_o.s("1 CHAN");
            m_o.end();
            m_o.s("2 DATE ");
            day(r, r.range(1998, 2023));
            m_o.end();
            m_o.s("3 TIME ").n(r.range(10, 23)).s(":").n(r.range(10, 59)).s(":").n(r.range(10, 59));
            m_o.end();
        }
    }

    void family(std::int64_t f) {
        Rng r(mix(m_seed ^ 0xFA, std::uint64_t(f)));
        const Family& fam = m_t.family(f);
        m_o.s("0 ").x('F', f).s(" FAM");
        m_o.end();
        if (fam.husb) {
            m_o.s("1 HUSB ").x('I', fam.husb);
            m_o.end();
        }
        if (fam.wife) {
            m_o.s("1 WIFE ").x('I', fam.wife);
            m_o.end();
        }
        for (std::int32_t k = 0; k < fam.childCount; ++k) {
            m_o.s("1 CHIL ").x('I', fam.firstChild + k);
            m_o.end();
        }
        if (!r.chance(100)) {
            m_o.s("1 MARR");
            m_o.end();
            if (r.chance(100)) place(r, 2); // the date after the place now and then
            date(r, 2, fam.year);
            if (r.chance(700)) place(r, 2);
            if (r.chance(150)) citation(r, 2);
        }
        if (fam.childCount) {
            m_o.s("1 NCHI ").n(fam.childCount);
            m_o.end();
        }
        if (r.chance(30)) {
            m_o.s("1 DIV Y");
            m_o.end();
            date(r, 2, fam.year + r.range(2, 15));
        }
        if (r.chance(15)) {
            m_o.s("1 SLGS");
            m_o.end();
            date(r, 2, 1970 + r.range(0, 40));
            m_o.s("2 TEMP ").s(kTemples[r.below(countOf(kTemples))]);
            m_o.end();
        }
        if (r.chance(40)) note(r, 1);
        if (r.chance(60)) citation(r, 1);
    }

    void noteRecord(std::int64_t n) {
        Rng r(mix(m_seed ^ 0x40, std::uint64_t(n)));
        m_o.s("0 ").x('N', n).s(" NOTE ");
        text(r, 0, {});
    }

    void sourceRecord(std::int64_t s) {
        Rng r(mix(m_seed ^ 0x50, std::uint64_t(s)));
        m_o.s("0 ").x('S', s).s(" SOUR");
        m_o.end();
        m_o.s("1 TITL ")
            .s(kSourceKinds[r.below(countOf(kSourceKinds))])
            .c(' ')
            .s(m_towns[r.below(std::uint32_t(m_towns.size()))])
            .s(", ")
            .n(r.range(1600, 1950))
            .c('-')
            .n(r.range(1951, 2000));
        m_o.end();
        if (r.chance(700)) {
            m_o.s("1 AUTH ")
                .s(given(m_t.person(1 + r.below(std::uint32_t(m_t.count())))))
                .c(' ')
                .s(m_surnames[r.below(std::uint32_t(m_surnames.size()))]);
            m_o.end();
        }
        if (r.chance(400)) {
            m_o.s("1 PUBL Privately printed, ").n(r.range(1850, 2010));
            m_o.end();
        }
        if (r.chance(300)) {
            m_o.s("1 ABBR SRC").n(s);
            m_o.end();
        }
        m_o.s("1 REPO ").x('R', 1 + r.below(std::uint32_t(m_repos)));
        m_o.end();
        m_o.s("2 CALN MS ").n(r.range(100, 99999));
        m_o.end();
        if (r.chance(250)) note(r, 1);
        if (r.chance(200)) {
            m_o.s("1 TEXT ");
            text(r, 1, {});
        }
    }

    void repoRecord(std::int64_t n) {
        Rng r(mix(m_seed ^ 0x60, std::uint64_t(n)));
        m_o.s("0 ").x('R', n).s(" REPO");
        m_o.end();
        m_o.s("1 NAME ").s(kRepoNames[r.below(countOf(kRepoNames))]);
        m_o.end();
        m_o.s("2 CONT ").s(m_towns[r.below(std::uint32_t(m_towns.size()))]);
        m_o.end();
        m_o.s("1 ADDR ").n(r.range(1, 200)).s(" High Street");
        m_o.end();
        m_o.s("2 CONT ").s(m_towns[r.below(std::uint32_t(m_towns.size()))]);
        m_o.end();
        m_o.s("2 CITY ").s(m_towns[r.below(std::uint32_t(m_towns.size()))]);
        m_o.end();
        m_o.s("2 POST ").n(r.range(10000, 99999));
        m_o.end();
        m_o.s("2 CTRY ").s(m_countries[r.below(std::uint32_t(m_countries.size()))]);
        m_o.end();
        m_o.s("1 PHON +1 555 ").n(r.range(1000, 9999));
        m_o.end();
    }

    const Tree& m_t;
    Out& m_o;
    std::uint64_t m_seed;
    std::vector<std::string> m_male, m_female, m_surnames, m_towns, m_counties, m_countries, m_words;
    std::int64_t m_notes = 0, m_sources = 0, m_repos = 0;
};

void usage() {
    std::fputs("usage: gengedcom --individuals N [--seed S] [--surnames K] [--given-names G]"
               " [--charset UTF-8|ANSEL] [--eol crlf|lf|cr] [--bom] [--quiet] --out file.ged\n",
               stderr);
}

bool parseNumber(const char* s, std::int64_t& v) {
    char* end = nullptr;
    long long x = std::strtoll(s, &end, 10);
    if (!end || *end || end == s || x < 0) return false;
    v = x;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::int64_t n = -1, seed = 1, surnames = 0, givenNames = 0;
    std::string charset = "UTF-8", eolName = "crlf", out;
    bool bom = false, quiet = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--individuals" && (v = value())) {
            if (!parseNumber(v, n)) n = -1;
        } else if (a == "--seed" && (v = value())) {
            if (!parseNumber(v, seed)) {
                usage();
                return 2;
            }
        } else if (a == "--surnames" && (v = value())) {
            if (!parseNumber(v, surnames) || surnames < 1 || surnames > 100000000) {
                usage();
                return 2;
            }
        } else if (a == "--given-names" && (v = value())) {
            if (!parseNumber(v, givenNames) || givenNames < 1 || givenNames > 100000000) {
                usage();
                return 2;
            }
        } else if (a == "--charset" && (v = value()))
            charset = v;
        else if (a == "--eol" && (v = value()))
            eolName = v;
        else if (a == "--out" && (v = value()))
            out = v;
        else if (a == "--bom")
            bom = true;
        else if (a == "--quiet")
            quiet = true;
        else {
            usage();
            return 2;
        }
    }
    if (n < 0 || n > 30000000 || out.empty()) {
        usage();
        return 2;
    }
    for (char& c : charset) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (charset == "UTF8") charset = "UTF-8";
    if (charset != "UTF-8" && charset != "ANSEL") {
        usage();
        return 2;
    }
    std::string eol = eolName == "lf" ? "\n" : eolName == "cr" ? "\r" : eolName == "crlf" ? "\r\n" : "";
    if (eol.empty()) {
        usage();
        return 2;
    }
    gAnsel = charset == "ANSEL";

    Tree tree(n, std::uint64_t(seed), std::uint32_t(surnames), std::uint32_t(givenNames));
    tree.build();
    tree.indexSpouses();

    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) {
        std::perror(out.c_str());
        return 1;
    }
    std::string base = out.substr(out.find_last_of('/') == std::string::npos ? 0 : out.find_last_of('/') + 1);
    bool failed;
    std::int64_t notes, sources, repos;
    {
        Out o(f, eol);
        if (bom && !gAnsel) o.s("\xEF\xBB\xBF");
        Writer w(tree, o, std::uint64_t(seed));
        w.write(base, charset.c_str());
        o.flush();
        failed = o.failed;
        notes = w.notes();
        sources = w.sources();
        repos = w.repos();
    }
    if (std::fclose(f) != 0 || failed) {
        std::perror(out.c_str());
        return 1;
    }
    if (!quiet)
        std::fprintf(stderr,
                     "%s: %lld individuals, %lld families, %lld notes, %lld sources, %lld repositories, %d groups\n",
                     out.c_str(), static_cast<long long>(tree.count()), static_cast<long long>(tree.familyCount()),
                     static_cast<long long>(notes), static_cast<long long>(sources), static_cast<long long>(repos),
                     tree.groups());
    return 0;
}
