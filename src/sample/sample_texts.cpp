#include "sample/sample_texts.h"

#include <iterator>
#include <vector>

#include "rom/address_map.h"

namespace velmar::sample {

using namespace rommap;

namespace {

// Menu words, stage titles (in stage order), item names (by item id), enemy names (by enemy
// id), then the story. '\f' waits for a button and clears the window; '\t' with its two digits
// shows a picture.
constexpr std::string_view kTexts[] = {
    // 0-9: menus
    "PUSH START",
    "NEW GAME",
    "CONTINUE",
    "OPTIONS",
    "SOUND TEST",
    "GAME OVER",
    "PAUSE",
    "TIME UP!",
    "STAGE CLEAR!",
    "TRY AGAIN?\nYES    NO",
    // 10-31: stage titles
    "STAGE 1-1\nTHE GREEN WOOD",
    "STAGE 1-2\nOLD WATCHTOWER",
    "STAGE 2-1\nMIRROR LAKE",
    "STAGE 2-2\nDRIPPING CAVERN",
    "STAGE 2-3\nGATE OF EMBERS",
    "STAGE 3-1\nMOONLIT GROVE",
    "STAGE 3-2\nSUNKEN TEMPLE",
    "STAGE 3-3\nCLOUD STAIR",
    "STAGE 4-1\nCRYSTAL MINE",
    "STAGE 4-2\nREED MARSH",
    "STAGE 4-3\nHALL OF BANNERS",
    "STAGE 4-4\nDUNES OF ASH",
    "STAGE 5-1\nTHORN FOREST",
    "STAGE 5-2\nWIND BRIDGE",
    "STAGE 5-3\nTHE DEEP WELL",
    "STAGE 5-4\nIRON KEEP",
    "STAGE 6-1\nFALLEN CITY",
    "STAGE 6-2\nSTILL WATER",
    "STAGE 6-3\nTHE LAST GROVE",
    "STAGE 6-4\nSKY CITADEL",
    "STAGE 6-4\nTHRONE STAIRS",
    "STAGE 6-5\nHEART OF THE KEEP",
    // 32-47: items
    "HEART",
    "MAGIC ORB",
    "POTION",
    "GOLD COIN",
    "RUBY",
    "STAR",
    "SHIELD",
    "SILVER BELL",
    "OLD KEY",
    "SWIFT BOOTS",
    "LANTERN",
    "ROPE",
    "BREAD",
    "SCROLL",
    "FEATHER",
    "CROWN",
    // 48-88: enemies
    "SLIME",
    "BAT",
    "BONE KNIGHT",
    "GHOST",
    "MARSH FROG",
    "CAVE SPIDER",
    "TOADSTOOL",
    "NIGHT OWL",
    "STONE GOLEM",
    "WISP",
    "BEETLE",
    "IMP",
    "RED SLIME",
    "VAMPIRE BAT",
    "DARK KNIGHT",
    "PHANTOM",
    "BULLFROG",
    "WEAVER",
    "SPORE CAP",
    "SNOW OWL",
    "IRON GOLEM",
    "EMBER",
    "SCARAB",
    "FIEND",
    "MUD SLIME",
    "FRUIT BAT",
    "GATE GUARD",
    "WRAITH",
    "TREE FROG",
    "WIDOW",
    "PUFFBALL",
    "HORNED OWL",
    "CLAY GOLEM",
    "WILL O WISP",
    "STAG BEETLE",
    "GARGOYLE",
    "KING SLIME",
    "GIANT BAT",
    "THE WARDEN",
    "SHADE",
    "THE OLD KING",
    // 89-112: story
    "Long ago the kingdom of\nAldren lived in peace.",
    "Then the Old King woke\nbeneath his iron keep.",
    "His shadow crept over the\nwoods and the lakes.\f",
    "Young Tamsin, keeper of\nthe watchtower, saw it\nfrom afar.",
    "\"I will go,\" she said.\n\"Someone has to.\"",
    "\t01She took her lantern\nand her grandmother's\nsword.\f",
    "The green wood is quiet.\nToo quiet.",
    "A light burns in the\nold watchtower...",
    "The lake shows a face\nthat is not your own.",
    "Water drips in the dark.\nSomething answers it.",
    "The gate is hot to the\ntouch. Embers fly.",
    "\t02The moon rises over\nthe grove.\f",
    "The temple sank long\nago. Its doors still\nopen.",
    "Step by step, the stair\nclimbs into the clouds.",
    "Crystals hum in the\nmine. Listen closely.",
    "The marsh hides its\npaths in the reeds.",
    "Banners of a fallen\nhouse hang in the hall.",
    "Ash covers the dunes.\nThe wind remembers.",
    "\t03The Old King waits\nat the top of his\nkeep.\f",
    "\"You came all this way\nfor a kingdom that\nforgot you?\"",
    "\"It did not forget.\nIt only slept.\"",
    "The shadow breaks apart\nlike morning mist.\f",
    "\t04Aldren wakes. The\nwatchtower light burns\nagain.\fTHE END",
    "THANK YOU FOR PLAYING!",
};
static_assert(std::size(kTexts) == kTextCount);

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

int hexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

}  // namespace

Bytes encodeSampleText(std::string_view text)
{
    Bytes out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\n': out.push_back(0xFF); continue;
        case '\f': out.push_back(0xFC); continue;
        case '\t':
            if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2]))
                return {};
            out.push_back(0xFD);
            out.push_back(static_cast<std::uint8_t>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
            continue;
        case '\'': out.push_back(0x25); continue;
        case '%': out.push_back(0x27); continue;
        case '_': out.push_back(0x60); continue;
        case '@':
        case '\\':
        case '^':
        case '`': return {};
        default:
            if (c < 0x20 || c > 0x7E)
                return {};
            out.push_back(static_cast<std::uint8_t>(c));
        }
    }
    out.push_back(0xF8);
    return out;
}

TextPackOutcome writeTexts(Bytes& rom)
{
    std::vector<Bytes> encoded;
    for (int n = 0; n < kTextCount; ++n) {
        encoded.push_back(encodeSampleText(kTexts[static_cast<std::size_t>(n)]));
        if (encoded.back().empty()) {
            TextPackOutcome refused;
            refused.code = TextPackResult::EncodeFailed;
            refused.reason = "A sample text has a character without a code.";
            refused.failedText = n;
            return refused;
        }
    }
    return packEncodedTexts(rom, encoded, bankStart(kTextBank + 1));
}

}  // namespace velmar::sample
