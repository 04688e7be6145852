// frames.json and animations.json: every sprite frame of the two frame sets and every animation,
// written back in place by the sprite editor's edits. Where frames and animations lie, and how
// many sprites and steps each has, stays in the image: those are the game's layout, not its
// drawing, and the edits keep them as they are.
#include "actors/sprite_frames.h"
#include "editor/edits.h"
#include "exchange/folder_section.h"
#include "exchange/json_text.h"
#include "rom/address_map.h"

namespace velmar::exchange {

namespace {

constexpr std::pair<FrameSet, const char*> kSets[] = {{FrameSet::Enemy, "enemy"}, {FrameSet::Player, "player"}};

bool stepped(const Outcome<EditResult>& r) { return r.ok() || r.code == EditResult::NoChange; }

// Each set's frames as a list, a frame that cannot be read as null.
std::optional<Bytes> describeFrames(const Document& doc)
{
    Json file = Json::object();
    for (const auto& [set, name] : kSets) {
        Json frames = Json::array();
        for (int k = 0; k <= lastFrameIndex(doc.romData(), set); ++k) {
            SpriteFrame f;
            if (!readSpriteFrame(doc.romData(), set, static_cast<std::uint8_t>(k), f).ok()) {
                frames.push_back(nullptr);
                continue;
            }
            Json sprites = Json::array();
            for (std::size_t i = 0; i < f.tiles.size(); ++i)
                sprites.push_back({{"tile", f.tiles[i].tileId},
                                   {"x", f.tiles[i].offsetX},
                                   {"y", f.tiles[i].offsetY},
                                   {"attributes", f.attributes[i]}});
            frames.push_back(sprites);
        }
        file[name] = frames;
    }
    return formatJson(file);
}

bool blankFrames(Document& doc)
{
    for (const auto& [set, name] : kSets) {
        for (int k = 0; k <= lastFrameIndex(doc.romData(), set); ++k) {
            SpriteFrame f;
            if (!readSpriteFrame(doc.romData(), set, static_cast<std::uint8_t>(k), f).ok())
                continue;
            std::fill(f.tiles.begin(), f.tiles.end(), FrameTile{});
            std::fill(f.attributes.begin(), f.attributes.end(), 0);
            if (!stepped(edits::setSpriteFrame(doc, set, static_cast<std::uint8_t>(k), f)))
                return false;
        }
    }
    return true;
}

FolderOutcome applyFrames(Document& doc, const Json& file)
{
    for (const auto& [set, name] : kSets) {
        JsonFields f;
        const int count = lastFrameIndex(doc.romData(), set) + 1;
        const Json& frames = f.array(f.member(file, "", name), name);
        if (f.ok() && frames.size() != static_cast<std::size_t>(count))
            return badFile(std::string(name) + ": the image has " + std::to_string(count) + " frames in this set, not "
                           + std::to_string(frames.size()));
        for (std::size_t k = 0; k < frames.size() && f.ok(); ++k) {
            const std::string where = std::string(name) + "[" + std::to_string(k) + "]";
            SpriteFrame frame;
            if (frames[k].is_null()) {
                // A frame that cannot be read is in the remainder; any other needs its sprites.
                if (readSpriteFrame(doc.romData(), set, static_cast<std::uint8_t>(k), frame).ok())
                    return badFile(where + ": the frame can be read, so it needs its list of sprites");
                continue;
            }
            const Json& sprites = f.array(frames[k], where);
            for (std::size_t i = 0; i < sprites.size(); ++i) {
                const std::string at = where + "[" + std::to_string(i) + "]";
                const auto field = [&](const char* key) {
                    return f.byte(f.member(sprites[i], at, key), at + "." + key);
                };
                frame.tiles.push_back({field("x"), field("y"), field("tile")});
                frame.attributes.push_back(field("attributes"));
            }
            if (sprites.size() > 255)
                f.fail(where, "a frame has at most 255 sprites");
            if (!f.ok())
                break;
            frame.tileCount = static_cast<std::uint8_t>(sprites.size());
            if (const Outcome<EditResult> r = edits::setSpriteFrame(doc, set, static_cast<std::uint8_t>(k), frame);
                !stepped(r))
                return badFile(where + ": " + r.reason);
        }
        if (!f.ok())
            return badFile(f.fault());
    }
    return {};
}

std::optional<Bytes> describeAnimations(const Document& doc)
{
    Json file = Json::array();
    for (int a = 0; a < rommap::kAnimationCount; ++a) {
        Bytes pairs;
        if (!readAnimation(doc.romData(), a, pairs).ok()) {
            file.push_back(nullptr);
            continue;
        }
        Json steps = Json::array();
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
            steps.push_back({pairs[i], pairs[i + 1]});
        file.push_back(steps);
    }
    return formatJson(file);
}

bool blankAnimations(Document& doc)
{
    for (int a = 0; a < rommap::kAnimationCount; ++a) {
        Bytes pairs;
        if (!readAnimation(doc.romData(), a, pairs).ok())
            continue;
        // Timer 01, frame 00, but the first timer FF: an animation stored right behind another
        // may hold the end of that one in its first timer, which only 00 or FF keeps an end.
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            pairs[i] = i == 0 ? 0xFF : 0x01;
            pairs[i + 1] = 0;
        }
        if (!stepped(edits::setAnimation(doc, a, pairs)))
            return false;
    }
    return true;
}

FolderOutcome applyAnimations(Document& doc, const Json& file)
{
    JsonFields f;
    const Json& animations = f.array(file, "the file", static_cast<std::size_t>(rommap::kAnimationCount));
    for (std::size_t a = 0; a < animations.size() && f.ok(); ++a) {
        const std::string where = "[" + std::to_string(a) + "]";
        Bytes pairs;
        if (animations[a].is_null()) {
            if (readAnimation(doc.romData(), static_cast<int>(a), pairs).ok())
                return badFile(where + ": the animation can be read, so it needs its list of steps");
            continue;
        }
        const Json& steps = f.array(animations[a], where);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string at = where + "[" + std::to_string(i) + "]";
            const Json& step = f.array(steps[i], at, 2);
            for (std::size_t j = 0; j < step.size(); ++j)
                pairs.push_back(f.byte(step[j], at + "[" + std::to_string(j) + "]"));
        }
        if (!f.ok())
            break;
        if (const Outcome<EditResult> r = edits::setAnimation(doc, static_cast<int>(a), pairs); !stepped(r))
            return badFile(where + ": " + r.reason);
    }
    if (!f.ok())
        return badFile(f.fault());
    return {};
}

}  // namespace

FolderPart framePart() { return {"frames.json", describeFrames, blankFrames, jsonApply(applyFrames)}; }

FolderPart animationPart()
{
    return {"animations.json", describeAnimations, blankAnimations, jsonApply(applyAnimations)};
}

}  // namespace velmar::exchange
