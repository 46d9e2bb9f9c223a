#include "core/ReplyText.h"
#include "xml/XMLParsingUtil.h"
#include "xml/XmlTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace vestrino;
using test::reply;

namespace {

using Opt = std::optional<std::string>;

using test::Statement;
using test::statement;

std::string movimenti(std::size_t n) {
    std::string payload = "<carta><numero>5333</numero></carta><movimenti>";
    for (std::size_t i = 0; i < n; ++i) {
        payload += "<movimento><data_contabile>0" + std::to_string(1 + i % 9) +
                   "/11/2026</data_contabile><addebiti>" + std::to_string(i) +
                   ",00</addebiti><descrizione_operazioni>PAGAMENTO POS " + std::to_string(i) +
                   "</descrizione_operazioni></movimento>";
    }
    return reply("OK", "", "", payload + "</movimenti>");
}

// A TCP listener on 127.0.0.1 that tells whether anybody connected to it.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port = ntohs(a.sin_port);
    }
    ~Listener() { ::close(fd_); }
    bool anyoneConnected() {
        const int c = ::accept(fd_, nullptr, nullptr);
        if (c >= 0) {
            ::close(c);
            return true;
        }
        return false;
    }
    int port = 0;

private:
    int fd_ = -1;
};

} // namespace

TEST(BadInput, EveryTruncationIsRefusedAndNothingIsHandedOut) {
    const std::string full = movimenti(3);
    const auto end = full.rfind("</lumacard>");
    for (std::size_t n = 0; n < end; ++n) {
        Statement r;
        r.esito = "untouched";
        XMLParsingUtil::parseListaMovimenti(full.substr(0, n), r.ok, r.esito, r.codice, r.messaggio,
                                            r.carta, r.saldo, r.movimenti);
        ASSERT_FALSE(r.ok) << "prefix of " << n << " bytes";
        ASSERT_EQ(r.esito, "untouched");
        ASSERT_TRUE(r.movimenti.empty());
        ASSERT_FALSE(r.carta);
    }
    EXPECT_TRUE(statement(full).ok);
}

TEST(BadInput, HostileDocumentsAreRefused) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    const std::pair<const char*, std::string> cases[] = {
        {"not XML", "<html><body>500 Internal Server Error"},
        {"an HTML error page", "<!DOCTYPE html><html><body><p>Errore<br></body></html>"},
        {"plain text", "Service Unavailable"},
        {"two roots", "<a/><b/>"},
        {"mismatched tags", "<r><risposta><esito>OK</risposta></esito></r>"},
        {"bytes that are not UTF-8", "<r><risposta><esito>OK\xFF\xFE</esito></risposta></r>"},
        {"an undeclared namespace prefix", reply("OK", "", "", "<ns:carta/>")},
        {"nesting 100,000 deep", deep},
        {"an entity defined in the document",
         "<!DOCTYPE r [<!ENTITY e \"payload\">]><r><risposta><esito>&e;</esito></risposta></r>"},
        {"an exponential entity",
         "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;"
         "&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;"
         "&e;&e;&e;\">]><r><risposta><esito>OK</esito><messaggio>&f;&f;&f;&f;&f;</messaggio>"
         "</risposta></r>"},
    };
    for (const auto& [name, xml] : cases) {
        Statement r;
        r.messaggio = "untouched";
        XMLParsingUtil::parseListaMovimenti(xml, r.ok, r.esito, r.codice, r.messaggio, r.carta,
                                            r.saldo, r.movimenti);
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ(r.messaggio, "untouched") << name;
    }
}

TEST(BadInput, ExternalEntitiesAreNeverLoaded) {
    char path[] = "/tmp/vestrino-secretXXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string secret = "SEGRETO-DA-NON-LEGGERE";
    ASSERT_EQ(::write(fd, secret.data(), secret.size()), static_cast<ssize_t>(secret.size()));
    ::close(fd);

    Listener listener;
    const std::string net = "http://127.0.0.1:" + std::to_string(listener.port);
    const std::string docs[] = {
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + std::string(path) +
            "\">]><r><risposta><esito>OK</esito><messaggio>&x;</messaggio></risposta></r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"" + net +
            "/e\">]><r><risposta><esito>OK</esito><messaggio>&x;</messaggio></risposta></r>",
        "<!DOCTYPE r SYSTEM \"" + net +
            "/r.dtd\"><r><risposta><esito>OK</esito><messaggio>m</messaggio></risposta></r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + net +
            "/p\"> %p;]><r><risposta><esito>OK</esito></risposta></r>",
        "<?xml-stylesheet href=\"" + net +
            "/s.xsl\"?><r xmlns:xi=\"http://www.w3.org/2001/"
            "XInclude\"><risposta><esito>OK</esito><xi:include "
            "href=\"" +
            net + "/i\"/></risposta></r>",
    };
    for (const auto& doc : docs) {
        Statement r;
        XMLParsingUtil::parseListaMovimenti(doc, r.ok, r.esito, r.codice, r.messaggio, r.carta,
                                            r.saldo, r.movimenti);
        EXPECT_EQ(r.messaggio.value_or("").find("SEGRETO"), std::string::npos) << doc;
    }
    EXPECT_FALSE(listener.anyoneConnected());
    ::unlink(path);
}

TEST(BadInput, LargeRepliesAreReadWhole) {
    const auto r = statement(movimenti(20000)); // about 2.5 MB
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.movimenti.size(), 20000u);
    EXPECT_EQ(r.movimenti.back()->addebiti(), "19999,00");
    EXPECT_EQ(r.movimenti.back()->tipoMovimento(), 4);
}

TEST(BadInput, ConcurrentParsesDoNotDisturbEachOther) {
    // Parses from several threads, each with a reply of its own size, while the library is
    // cleaned up after every parse.
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            const std::string xml = movimenti(10 + t);
            for (int i = 0; i < 40; ++i) {
                const auto r = statement(decodeReplyText(xml));
                if (!r.ok || r.movimenti.size() != static_cast<std::size_t>(10 + t)) {
                    ++wrong;
                }
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}
