// The lines between a series' parent and its workers: what each message is on the pipe, and what a line
// that is no message is taken as.
#include "cli/series/SeriesPipe.h"

#include <gtest/gtest.h>
#include <string>
#include <variant>
#include <vector>

namespace orb {
namespace {

using Kind = SeriesOffer::Kind;
using FromWorker = std::variant<WorkerMessage, MalformedLine>;
using FromParent = std::variant<ParentMessage, MalformedLine>;

TEST(SeriesPipeLines, EveryMessageIsOneLineOfItsOwnThatReadsBackAsItWas) {
    const SeriesStatus status{"řádek 3 A, B (3 z 10)", "Ukládám data z PC do EEPROM.", 34, 68, "zbývá 0:12"};
    const std::vector<std::pair<WorkerMessage, std::string>> fromWorker{
        {StatusMessage{status},
         "status,\"řádek 3 A, B (3 z 10)\",Ukládám data z PC do EEPROM.,34,68,zbývá 0:12\n"},
        {SayMessage{"COM 1: a\nb"}, "say,COM 1: a\\nb\n"},
        {OfferRequest{}, "offer,\n"},
        {OfferRequest{{"ab12"}}, "offer,ab12\n"},
    };
    for (const auto& [message, line] : fromWorker) {
        SCOPED_TRACE(line);
        EXPECT_EQ(EncodeMessage(message), line);
        EXPECT_EQ(ParseWorkerMessage(line), FromWorker{message});
    }
    const std::vector<std::pair<ParentMessage, std::string>> fromParent{
        {OptionsMessage{}, "options,ano,whole,\n"},
        {OptionsMessage{{.verify = false, .scope = TransferScope::SettingsOnly, .timeout = 30}},
         "options,ne,settings,30\n"},
        {OfferAnswer{{Kind::Write, 4, "řádek 4", "A", "3 z 10", {0x00, 0x1A, 0xFF}, "zalohy"}},
         "write,4,řádek 4,A,3 z 10,zalohy,001aff\n"},
        {OfferAnswer{{Kind::AlreadyWritten, 2, "kus 2", ""}}, "seen,2,kus 2,\n"},
        {OfferAnswer{{Kind::KeepSettings}}, "keep\n"},
        {OfferAnswer{}, "none\n"},
    };
    for (const auto& [message, line] : fromParent) {
        SCOPED_TRACE(line);
        EXPECT_EQ(EncodeMessage(message), line);
        EXPECT_EQ(ParseParentMessage(line), FromParent{message});
    }
    // Waiting is the parent's business: a worker is told "none" only once no row is left for it.
    EXPECT_EQ(EncodeMessage(OfferAnswer{{Kind::Wait}}), "none\n");
}

TEST(SeriesPipeLines, ALineThatIsNoMessageSaysWhyAndThrowsNothing) {
    const std::vector<std::pair<std::string, std::string>> fromWorker{
        {"", "řádek není zpráva"},
        {"say,\"open\n", "řádek není zpráva"},
        {"hello,1\n", "neznámá zpráva 'hello'"},
        {"write,1,řádek 1,A,,,00\n", "neznámá zpráva 'write'"},
        {"status,a,b,x,1,\n", "zpráva 'status': místo čísla 'x'"},
        {"status,a,b,1,x,\n", "zpráva 'status': místo čísla 'x'"},
        // A bar fuller than full or less than empty would be drawn with a negative length.
        {"status,a,b,5,3,\n", "zpráva 'status': číslo 3 je mimo rozsah"},
        {"status,a,b,-1,3,\n", "zpráva 'status': číslo -1 je mimo rozsah"},
        {"status,a,b,99999999999,99999999999,\n", "zpráva 'status': místo čísla '99999999999'"},
        {"status,a,b\n", "zpráva 'status': 2 pole místo 5"},
        {"status,a,b,x\n", "zpráva 'status': 3 pole místo 5"},
        {"say\n", "zpráva 'say': 0 polí místo 1"},
        {"say,a,b\n", "zpráva 'say': 2 pole místo 1"},
        {"offer\n", "zpráva 'offer': 0 polí místo 1"},
        {"record,x\n", "zpráva 'record': záznam série má 1 polí"},
    };
    for (const auto& [line, reason] : fromWorker) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseWorkerMessage(line), FromWorker{MalformedLine{reason}});
    }
    const std::vector<std::pair<std::string, std::string>> fromParent{
        {"status,a,b,1,2,\n", "neznámá zpráva 'status'"},
        {"options,ano,whole\n", "zpráva 'options': 2 pole místo 3"},
        {"options,ano,all,\n", "zpráva 'options': neznámá hodnota 'all'"},
        {"options,1,whole,\n", "zpráva 'options': neznámá hodnota '1'"},
        {"options,ano,whole,0\n", "zpráva 'options': číslo 0 je mimo rozsah"},
        {"write,0,řádek 0,A,,,00\n", "zpráva 'write': číslo 0 je mimo rozsah"},
        {"write,5,řádek 5,x,,,0g\n", "zpráva 'write': obraz paměti není v šestnáctkové soustavě"},
        {"write,5,řádek 5,x,,,\n", "zpráva 'write': obraz paměti není v šestnáctkové soustavě"},
        {"seen,2,kus 2\n", "zpráva 'seen': 2 pole místo 3"},
        {"none,x\n", "zpráva 'none': 1 pole místo 0"},
    };
    for (const auto& [line, reason] : fromParent) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseParentMessage(line), FromParent{MalformedLine{reason}});
    }
}

} // namespace
} // namespace orb
