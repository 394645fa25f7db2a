#include "Skins.h"

#include "Arms.h"
#include "Heads.h"
#include "Jewellery.h"
#include "PixelArt.h"
#include "Shirts.h"
#include "Shoes.h"
#include "SkinLayout.h"
#include "Trousers.h"

#include <QPainter>

namespace pellwerk::assets {

namespace {

constexpr Ramp kTeal{{14, 70, 78}, {34, 140, 150}, {120, 210, 210}};
constexpr Ramp kPoloWhite{{150, 146, 140}, {236, 232, 224}, {255, 255, 252}};

constexpr Fabric kTeeCotton{.base = {{14, 62, 70}, {34, 136, 146}, {128, 214, 214}}, .seed = 101};
constexpr Ramp kTeeTrim{{12, 50, 56}, {28, 112, 120}, {110, 190, 192}};
constexpr Fabric kDenim{.weave = Weave::Denim, .base = {{16, 28, 58}, {46, 78, 134}, {132, 164, 208}}, .seed = 102};
constexpr Fabric kPoloStripes{.weave = Weave::Stripes,
                              .base = {{96, 14, 20}, {188, 36, 44}, {250, 120, 110}},
                              .seed = 103,
                              .second = kPoloWhite,
                              .period = 14.0,
                              .width = 4.0};
constexpr Fabric kFlannel{.weave = Weave::Check,
                          .base = {{18, 56, 30}, {40, 110, 60}, {110, 180, 120}},
                          .seed = 104,
                          .second = {{14, 30, 22}, {24, 60, 40}, {70, 110, 80}},
                          .third = {{120, 100, 30}, {220, 190, 80}, {255, 240, 160}}};
constexpr Ramp kFlannelTrim{{14, 42, 24}, {34, 96, 52}, {100, 166, 110}};
constexpr Fabric kBoxerCotton{.base = {{96, 98, 104}, {176, 178, 184}, {232, 234, 238}}, .seed = 311, .grain = 0.08};
constexpr Fabric kCargoTwill{.base = {{84, 70, 44}, {168, 146, 100}, {226, 210, 164}}, .seed = 401, .grain = 0.06};
constexpr Fabric kJersey{.base = {{30, 32, 38}, {70, 74, 86}, {134, 140, 156}}, .seed = 402, .grain = 0.12};

// White trainers with teal stripes and a gum sole.
constexpr ShoeStyle kTrainer{.upper = {{132, 136, 140}, {226, 228, 230}, {255, 255, 255}},
                             .sole = {{120, 70, 30}, {196, 136, 72}, {240, 196, 130}},
                             .trim = kTeal,
                             .lace = {246, 246, 242},
                             .stitch = {120, 124, 130},
                             .lining = {70, 62, 60},
                             .stripes = true,
                             .seed = 201};
constexpr ShoeStyle kRedTrainer{.upper = {{92, 12, 16}, {200, 34, 40}, {255, 130, 120}},
                                .sole = {{150, 150, 146}, {236, 236, 230}, {255, 255, 255}},
                                .trim = {{150, 150, 146}, {240, 240, 234}, {255, 255, 255}},
                                .lace = {250, 250, 246},
                                .stitch = {255, 200, 190},
                                .lining = {60, 20, 22},
                                .stripes = true,
                                .seed = 202};
constexpr ShoeStyle kBoot{.upper = {{50, 26, 12}, {122, 70, 36}, {200, 140, 86}},
                          .sole = {{22, 16, 12}, {58, 44, 34}, {110, 90, 70}},
                          .trim = {{40, 20, 10}, {104, 58, 28}, {184, 124, 72}},
                          .lace = {200, 160, 100},
                          .stitch = {230, 200, 140},
                          .lining = {64, 44, 30},
                          .boot = true,
                          .seed = 203};
// The preview picture: a blue running shoe with orange trim.
constexpr ShoeStyle kRunner{.upper = {{18, 34, 90}, {44, 90, 190}, {140, 180, 250}},
                            .sole = {{150, 150, 150}, {232, 232, 228}, {255, 255, 255}},
                            .trim = {{150, 60, 10}, {240, 130, 40}, {255, 210, 140}},
                            .lace = {250, 250, 250},
                            .stitch = {170, 200, 255},
                            .lining = {30, 36, 60},
                            .stripes = true,
                            .seed = 204};
constexpr Ramp kSockCotton{{150, 150, 150}, {232, 232, 228}, {255, 255, 255}};

constexpr ArmStyle kTeeRightArm{.sleeve = kTeeCotton, .stitch = {200, 240, 240}};
constexpr ArmStyle kTeeLeftArm{.sleeve = kTeeCotton, .stitch = {200, 240, 240}, .mirrored = true, .seed = 12};
constexpr ArmStyle kBareRightArm{.skin = kSkinNeutral};
constexpr ArmStyle kBareLeftArm{.skin = kSkinNeutral, .mirrored = true};
constexpr ArmStyle kPoloRightArm{
    .sleeve = kPoloStripes, .sleeveEnd = 24, .stitch = {255, 230, 230}, .wrist = Wrist::Watch};
constexpr ArmStyle kPoloLeftArm{
    .sleeve = kPoloStripes, .sleeveEnd = 24, .stitch = {255, 230, 230}, .wrist = Wrist::Bracelet, .mirrored = true};
constexpr ArmStyle kFlannelRightArm{.sleeve = kFlannel, .sleeveEnd = 62, .cuff = true, .stitch = {230, 220, 160}};
constexpr ArmStyle kFlannelLeftArm{
    .sleeve = kFlannel, .sleeveEnd = 62, .cuff = true, .stitch = {230, 220, 160}, .mirrored = true};

constexpr HeadStyle kTemplateHead{.skin = kSkinNeutral, .hairStyle = HairStyle::None, .guidesOnly = true};
constexpr HeadStyle kCurlyHead{.skin = kSkinDeep,
                               .hair = {{16, 10, 8}, {46, 30, 22}, {110, 80, 60}},
                               .hairStyle = HairStyle::Curly,
                               .iris = {92, 56, 28},
                               .lips = {150, 80, 74},
                               .seed = 22};
constexpr HeadStyle kGingerHead{.skin = kSkinPale,
                                .hair = {{110, 36, 10}, {196, 86, 30}, {250, 170, 90}},
                                .hairStyle = HairStyle::Long,
                                .iris = {70, 140, 80},
                                .lips = {214, 110, 110},
                                .freckles = true,
                                .seed = 23};
constexpr Ramp kBrownBeard{{40, 22, 12}, {104, 62, 32}, {170, 118, 70}};
constexpr Ramp kDarkBeard{{18, 12, 10}, {56, 40, 32}, {120, 96, 80}};

constexpr TrouserStyle kJeans{.fabric = kDenim, .stitch = {226, 164, 70}};
constexpr TrouserStyle kBoxerShorts{.cut = TrouserCut::Shorts, .fabric = kBoxerCotton, .stitch = {240, 240, 240}};
constexpr TrouserStyle kCargo{.cut = TrouserCut::Cargo, .fabric = kCargoTwill, .stitch = {96, 80, 52}};
constexpr TrouserStyle kJoggers{.cut = TrouserCut::Joggers, .fabric = kJersey, .stitch = {160, 164, 170}};

constexpr ShirtStyle kTee{.fabric = kTeeCotton, .trim = kTeeTrim, .stitch = {200, 240, 240}};
constexpr ShirtStyle kBareTorso{.cut = ShirtCut::Bare, .skin = kSkinNeutral};
constexpr ShirtStyle kPoloShirt{
    .cut = ShirtCut::Polo, .fabric = kPoloStripes, .trim = kPoloWhite, .stitch = {255, 236, 236}};
constexpr ShirtStyle kFlannelShirt{
    .cut = ShirtCut::Flannel, .fabric = kFlannel, .trim = kFlannelTrim, .stitch = {230, 220, 160}};

// The pixel-art parts' ramps: the same colours, in the same order, as the palettes that ship in
// assets/Paletten/ (trikot-rot.gpl, besatz-weiss.gpl, haut-mittel.gpl, haar-braun.gpl), so that each
// of those palettes swaps its ramp in these parts for another of its family.
const PixelRamp kTeamRed{{72, 14, 22}, {128, 24, 34}, {184, 38, 46}, {226, 70, 70}, {250, 128, 116}};
const PixelRamp kTeamTrim{{150, 152, 162}, {212, 214, 222}, {250, 250, 248}};
const PixelRamp kPixelSkin{{122, 72, 50}, {176, 112, 80}, {218, 160, 120}, {242, 204, 170}};
const PixelRamp kPixelHair{{52, 30, 18}, {92, 54, 30}, {136, 86, 48}, {178, 124, 76}};

struct SamplePart
{
    const char *name;
    PartKindId kind;
    QImage (*draw)();
    QPoint userPlace{}; // user pictures only: the list has no place, the preview needs one
};

const SamplePart kSampleParts[] = {
    {"foot_01.bmp", PartKindId::Foot, [] { return drawShoe(kShoeSize, kRedTrainer); }},
    {"foot_02.bmp", PartKindId::Foot, [] { return drawShoe(kShoeSize, kBoot); }},
    {"RightArm01.bmp", PartKindId::RightArm, [] { return drawArm(kRightArmSize, kPoloRightArm); }},
    {"LeftArm_01.bmp", PartKindId::LeftArm, [] { return drawArm(kLeftArmSize, kPoloLeftArm); }},
    {"RightArm02.bmp", PartKindId::RightArm, [] { return drawArm(kRightArmSize, kFlannelRightArm); }},
    {"LeftArm_02.bmp", PartKindId::LeftArm, [] { return drawArm(kLeftArmSize, kFlannelLeftArm); }},
    {"tatu_dragon.bmp", PartKindId::Tattoo, [] { return drawDragonTattoo(kLeftArmSize); }},
    {"chain_gold.bmp", PartKindId::Chain, [] { return drawChain(kGold, false); }},
    {"chain_silver.bmp", PartKindId::Chain, [] { return drawChain(kSilver, true); }},
    {"Face01.bmp", PartKindId::Face, [] { return drawHead(kCurlyHead); }},
    {"Face02.bmp", PartKindId::Face, [] { return drawHead(kGingerHead); }},
    {"Pants01.bmp", PartKindId::Pants, [] { return drawTrousers(kPantsSize, kCargo); }},
    {"Pants02.bmp", PartKindId::Pants, [] { return drawTrousers(kPantsSize, kJoggers); }},
    {"shirt01.bmp", PartKindId::Shirt, [] { return drawShirt(kShirtSize, kPoloShirt); }},
    {"shirt02.bmp", PartKindId::Shirt, [] { return drawShirt(kShirtSize, kFlannelShirt); }},
    {"shirt03.bmp", PartKindId::Shirt, [] { return drawTeamShirt(kShirtSize, {kTeamRed, kTeamTrim, kPixelSkin}); }},
    {"glass_round.bmp", PartKindId::Glasses, [] { return drawRoundGlasses(); }},
    {"glass_sun.bmp", PartKindId::Glasses, [] { return drawSunglasses(); }},
    {"beard01.bmp", PartKindId::Beard, [] { return drawBeard(kBrownBeard, true, 501); }},
    {"beard02.bmp", PartKindId::Beard, [] { return drawBeard(kDarkBeard, false, 502); }},
    {"beard03.bmp", PartKindId::Beard, [] { return drawPixelBeard(kPixelHair, 503); }},
    {"userScar.bmp", PartKindId::User, [] { return drawScar(kSkinWarm); }, {62, 36}},
    {"userBadge.bmp", PartKindId::User, [] { return drawBadge(); }, {100, 150}},
};

struct Region
{
    QPoint at;
    QImage layer;
};

QImage composeSkin(const std::vector<Region> &regions)
{
    QImage skin = newLayer(256, 256);
    QPainter p(&skin);
    for (const Region &region : regions)
        p.drawImage(region.at, region.layer);
    p.end();
    return flattenOnBlack(skin);
}

} // namespace

QImage drawDefaultSkin()
{
    const QPoint foot = placeOf(PartKindId::Foot);
    const QSize sock(kFootSize.width(), kFootSize.height() - kShoeSize.height());
    return composeSkin({
        {foot, drawShoe(kShoeSize, kTrainer)},
        {foot + QPoint(0, kShoeSize.height()), drawSocks(sock, kSockCotton, kTeal, 301)},
        {placeOf(PartKindId::RightArm), drawArm(kRightArmSize, kTeeRightArm)},
        {placeOf(PartKindId::LeftArm), drawArm(kLeftArmSize, kTeeLeftArm)},
        {placeOf(PartKindId::Face), drawHead(HeadStyle{})},
        {placeOf(PartKindId::Pants), drawTrousers(kPantsSize, kJeans)},
        {placeOf(PartKindId::Shirt), drawShirt(kShirtSize, kTee)},
        {kChestArea.topLeft(), drawChest(kChestArea.size(), kSkinWarm, 302)},
    });
}

QImage drawTemplateSkin()
{
    return composeSkin({
        {placeOf(PartKindId::Foot), drawBareFoot(kFootSize, kSkinNeutral)},
        {placeOf(PartKindId::RightArm), drawArm(kRightArmSize, kBareRightArm)},
        {placeOf(PartKindId::LeftArm), drawArm(kLeftArmSize, kBareLeftArm)},
        {placeOf(PartKindId::Face), drawHead(kTemplateHead)},
        {placeOf(PartKindId::Pants), drawTrousers(kPantsSize, kBoxerShorts)},
        {placeOf(PartKindId::Shirt), drawShirt(kShirtSize, kBareTorso)},
        {kChestArea.topLeft(), drawChest(kChestArea.size(), kSkinNeutral, 312)},
    });
}

QImage drawPreviewShoe()
{
    return flattenPart(drawShoe(kShoeSize, kRunner));
}

std::vector<PlacedPart> drawSampleParts()
{
    std::vector<PlacedPart> parts;
    for (const SamplePart &sample : kSampleParts) {
        const QPoint place = sample.kind == PartKindId::User ? sample.userPlace : placeOf(sample.kind);
        parts.push_back({QString::fromLatin1(sample.name), flattenPart(sample.draw()), place, sample.kind});
    }
    return parts;
}

} // namespace pellwerk::assets
