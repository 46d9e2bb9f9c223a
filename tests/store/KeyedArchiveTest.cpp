#include "entities/CartaDiPagamentoEx.h"
#include "store/CardList.h"
#include "store/KeyedUnarchiver.h"
#include "store/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace vestrino;
using test::keyedArchive;

namespace {

const std::filesystem::path kFixtures =
    std::filesystem::path(VESTRINO_SOURCE_DIR) / "tests/data/keyed-archive";

ArchivedRef root(const std::string& file, const char* key = "root") {
    const auto reader = KeyedUnarchiver::fromData(test::readWhole(kFixtures / file));
    EXPECT_TRUE(reader) << file;
    if (!reader) {
        return nullptr;
    }
    const auto value = reader->decodeObjectForKey(key);
    EXPECT_TRUE(value) << file;
    return value ? *value : nullptr;
}

std::string text(const ArchivedRef& v) {
    return v ? v->asString().value_or("<not a string>") : "<missing>";
}

// A card object with the given values (plist nodes, freed by the array).
plist_t cardObject(std::uint64_t classUid, plist_t serial, plist_t anonima) {
    plist_t o = plist_new_dict();
    if (serial) {
        plist_dict_set_item(o, "serial", serial);
    }
    if (anonima) {
        plist_dict_set_item(o, "anonima", anonima);
    }
    plist_dict_set_item(o, "$class", plist_new_uid(classUid));
    return o;
}

plist_t classDict(const char* name) {
    plist_t c = plist_new_dict();
    plist_dict_set_item(c, "$classname", plist_new_string(name));
    return c;
}

plist_t arrayOf(std::initializer_list<std::uint64_t> uids, std::uint64_t classUid) {
    plist_t a = plist_new_dict();
    plist_t list = plist_new_array();
    for (const auto u : uids) {
        plist_array_append_item(list, plist_new_uid(u));
    }
    plist_dict_set_item(a, "NS.objects", list);
    plist_dict_set_item(a, "$class", plist_new_uid(classUid));
    return a;
}

} // namespace

TEST(KeyedUnarchiver, ReadsArchivesWrittenByThePlatform) {
    for (const auto& entry : std::filesystem::directory_iterator(kFixtures)) {
        if (entry.path().extension() == ".md") {
            continue;
        }
        const auto reader = KeyedUnarchiver::fromData(test::readWhole(entry.path()));
        ASSERT_TRUE(reader) << entry.path();
        EXPECT_TRUE(reader->decodeAll()) << entry.path();
    }
    // Inline strings, numbers and bools of a custom class.
    const auto note = root("note.plist");
    ASSERT_TRUE(note && note->asObject());
    EXPECT_EQ(note->asObject()->className, "Note");
    EXPECT_EQ(text(note->asObject()->valueForKey("title")), "Some cool title");
    EXPECT_EQ(note->asObject()->valueForKey("published")->asBool(), true);
    const auto* items = note->asObject()->valueForKey("array")->asArray();
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ(std::get<std::int64_t>((*items)[1]->value), 42);
    // A string written as an NSMutableString object.
    const auto attributed = root("NSMutableAttributedString.archive");
    EXPECT_EQ(text(attributed->asObject()->valueForKey("NSString")), "0123456789");
    // nil as the root itself.
    const auto nil = root("null.bin.plist");
    ASSERT_TRUE(nil);
    EXPECT_TRUE(nil->isNil());
    // Class dictionaries without $classes, a bool as its own entry.
    const auto scalars = root("scalarTypes.bin.plist");
    EXPECT_EQ(scalars->asObject()->className, "TestDummy");
    EXPECT_EQ(scalars->asObject()->valueForKey("typeBool")->asBool(), true);
    EXPECT_EQ(text(scalars->asObject()->valueForKey("typeString")), "foo bar");
    // Top keys of a writer's own, the same value shared and stored twice.
    const auto arrays = root("arrays.bin", "$0");
    ASSERT_TRUE(arrays && arrays->asArray());
    const auto& list = *arrays->asArray();
    ASSERT_EQ(list.size(), 12u);
    EXPECT_EQ(list[0], list[1]); // one object referred to twice stays one object
    EXPECT_EQ(text(list[7]), "Hello, World!");
    EXPECT_EQ(text(list[8]), "Hello, World!");
    // A missing key reads as nil.
    const auto missing = KeyedUnarchiver::fromData(test::readWhole(kFixtures / "note.plist"))
                             ->decodeObjectForKey("nope");
    ASSERT_TRUE(missing);
    EXPECT_TRUE((*missing)->isNil());
}

TEST(KeyedUnarchiver, CardsRoundTripAndArchivesOfThePhoneRead) {
    auto full = std::make_shared<CartaDiPagamentoEx>();
    full->setSerial("5375123400001117");
    full->setDesc("0001234567");
    full->setAlias("Spesa è casa");
    full->setIntestatario("MARIO ROSSI");
    full->setDataAA("28");
    full->setDataMM("04");
    full->setAnonima(true);
    full->setCvv2("987");
    const ListaCarte list{full, std::make_shared<CartaDiPagamento>()};
    const std::string archive = CardList::archiveRootList(list);
    EXPECT_EQ(archive.find("987"), std::string::npos); // the CVV2 is never written
    const auto back = CardList::unarchiveRootList(archive);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    const auto& c = *(*back)[0];
    EXPECT_EQ(dynamic_cast<const CartaDiPagamentoEx*>(&c), nullptr);
    EXPECT_EQ(c.serial(), "5375123400001117");
    EXPECT_EQ(c.desc(), "0001234567");
    EXPECT_EQ(c.alias(), "Spesa è casa");
    EXPECT_EQ(c.intestatario(), "MARIO ROSSI");
    EXPECT_EQ(c.dataAA(), "28");
    EXPECT_EQ(c.dataMM(), "04");
    EXPECT_TRUE(c.anonima());
    const auto& empty = *(*back)[1];
    EXPECT_FALSE(empty.serial() || empty.desc() || empty.alias() || empty.intestatario() ||
                 empty.dataAA() || empty.dataMM() || empty.anonima());
    EXPECT_EQ(CardList::unarchiveRootList(CardList::archiveRootList({})), ListaCarte{});

    // As the phone writes them: an extended card's class, anonima as the integer 1, a string
    // as an NSMutableString, missing keys, NSArray instead of NSMutableArray, UTF-16 text.
    plist_t objects = plist_new_array();
    plist_array_append_item(objects, plist_new_string("$null"));
    plist_array_append_item(objects, arrayOf({2, 6}, 9));              // 1
    plist_t card = cardObject(5, plist_new_uid(3), plist_new_uint(1)); // 2
    plist_dict_set_item(card, "alias", plist_new_uid(4));
    plist_dict_set_item(card, "cvv2", plist_new_uid(8));
    plist_array_append_item(objects, card);
    plist_array_append_item(objects, plist_new_string("5333171012345670")); // 3
    plist_t mutableString = plist_new_dict();                               // 4
    plist_dict_set_item(mutableString, "NS.string", plist_new_string("Carta di Luca \u00e8"));
    plist_dict_set_item(mutableString, "$class", plist_new_uid(7));
    plist_array_append_item(objects, mutableString);
    plist_array_append_item(objects, classDict("CartaDiPagamentoEx")); // 5
    plist_array_append_item(objects, cardObject(5, nullptr, nullptr)); // 6
    plist_array_append_item(objects, classDict("NSMutableString"));    // 7
    plist_array_append_item(objects, plist_new_string("999"));         // 8
    plist_array_append_item(objects, classDict("NSArray"));            // 9
    const auto phone = CardList::unarchiveRootList(keyedArchive(objects, 1));
    ASSERT_TRUE(phone);
    ASSERT_EQ(phone->size(), 2u);
    EXPECT_EQ((*phone)[0]->serial(), "5333171012345670");
    EXPECT_EQ((*phone)[0]->alias(), "Carta di Luca è");
    EXPECT_TRUE((*phone)[0]->anonima());
    EXPECT_FALSE((*phone)[1]->serial());
    EXPECT_FALSE((*phone)[1]->anonima());
}

TEST(KeyedUnarchiver, HostileArchivesAreRefused) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    auto build = [](auto fill) {
        plist_t objects = plist_new_array();
        plist_array_append_item(objects, plist_new_string("$null"));
        fill(objects);
        return keyedArchive(objects, 1);
    };
    std::string deep = build([](plist_t o) {
        // 200 arrays, each holding the next.
        for (std::uint64_t i = 1; i <= 200; ++i) {
            plist_array_append_item(o, arrayOf({i + 1}, 202));
        }
        plist_array_append_item(o, plist_new_string("fondo"));
        plist_array_append_item(o, classDict("NSArray"));
    });
    const std::string valid = CardList::archiveRootList({std::make_shared<CartaDiPagamento>()});
    const Case cases[] = {
        {"an array that holds itself", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({1}, 2));
             plist_array_append_item(o, classDict("NSArray"));
         })},
        {"two objects that hold each other", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({2}, 3));
             plist_array_append_item(o, arrayOf({1}, 3));
             plist_array_append_item(o, classDict("NSArray"));
         })},
        {"a reference out of range", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({99}, 2));
             plist_array_append_item(o, classDict("NSArray"));
         })},
        {"a class that is not a class dictionary", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({}, 2));
             plist_array_append_item(o, plist_new_string("NSArray"));
         })},
        {"a number where a string must be", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({2}, 4));
             plist_array_append_item(o, cardObject(3, plist_new_uint(5333), nullptr));
             plist_array_append_item(o, classDict("CartaDiPagamento"));
             plist_array_append_item(o, classDict("NSArray"));
         })},
        {"a string where the flag must be", build([](plist_t o) {
             plist_array_append_item(o, arrayOf({2}, 4));
             plist_array_append_item(o, cardObject(3, nullptr, plist_new_string("YES")));
             plist_array_append_item(o, classDict("CartaDiPagamento"));
             plist_array_append_item(o, classDict("NSArray"));
         })},
        {"a root that is not a list",
         build([](plist_t o) { plist_array_append_item(o, plist_new_string("carte")); })},
        {"nesting 200 deep", deep},
        {"truncated", valid.substr(0, valid.size() - 9)},
        {"trailing bytes", valid + std::string(7, '\0')},
        {"not a plist", "bplist00 but not really"},
        {"an XML plist", "<?xml version=\"1.0\"?><plist><dict/></plist>"},
        {"empty", ""},
        // Found by fuzzing: a dictionary key with a NUL inside made libplist abort the process.
        {"a key with a NUL inside",
         test::readWhole(kFixtures.parent_path() / "archive-key-with-nul.bin")},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(CardList::unarchiveRootList(c.bytes)) << c.name;
    }
    EXPECT_TRUE(CardList::unarchiveRootList(valid));
}
