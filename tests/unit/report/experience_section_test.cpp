#include <gtest/gtest.h>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::page_text;

std::string section(const PartStats& stats) {
    return page_text([&](PageWriter& page) { write_experience_section(page, stats, "Resultats"); });
}

MonsterStats& add_monster(PartStats& stats, const char* name, int kills) {
    MonsterStats& monster = stats.monsters[stats.monsterCount++];
    monster.name = name;
    monster.kills = kills;
    return monster;
}

void add_loot(MonsterStats& monster, const char* name, int quantity) {
    monster.lootNames.emplace_back(name);
    monster.lootQuantities.push_back(quantity);
    ++monster.lootCount;
}

const std::string kOpening =
    std::string(latin1("\n\n<a name=\"XP\"></a><p><font size=\"4\"><b>Points d'expérience,argent, loots</b></font>")) +
    " (<a href=\"./Resultats.html#Sommaire\"><i>Sommaire</i></a>)</p>"
    "<table  border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
    "<td width=\"150\" height=\"25\" >Nom du monstre</td><td width=\"60\" height=\"25\" >Nombre</td>"
    "<td width=\"150\" height=\"25\" >XP moyen</td><td width=\"150\" height=\"25\" >XP total</td>"
    "<td width=\"120\" height=\"25\" >Argent</td><td width=\"250\" height=\"25\" >Loots</td></tr>";

std::string row(const std::string& name, const std::string& kills, const std::string& averages,
                const std::string& totals, const std::string& money, const std::string& loots) {
    return "<td width=\"150\" height=\"25\" >" + name + "</td><td width=\"60\" height=\"25\" >" + kills +
           "</td><td width=\"150\" height=\"25\" >" + averages + "<td width=\"150\" height=\"25\" >" + totals +
           "<td width=\"120\" height=\"25\" >" + money + "<td width=\"250\" height=\"25\" >" + loots + "</td></tr>";
}
const std::string kArrows(latin1("3 flèches"));
const std::string kMonsterRow = "<tr align=\"center\" bgcolor=\"#EFEFEF\">";
const std::string kTotalRow = "<tr align=\"center\" bgcolor=\"#DEE3E7\">";

TEST(ExperienceSection, RowsForMonstersWithKillsAndATotalOverAll) {
    PartStats stats;
    MonsterStats& gobelin = add_monster(stats, "Le <gobelin>", 3);
    gobelin.xp = 1000;
    gobelin.money = 21530;
    add_loot(gobelin, "une dague", 2);
    add_loot(gobelin, kArrows.c_str(), 1);
    MonsterStats& wolf = add_monster(stats, "Le loup", 0);  // no row, but in the totals
    wolf.bonusXp = 150;
    wolf.money = 530;
    MonsterStats& troll = add_monster(stats, "Le troll", 1);
    troll.xp = 5;
    troll.xpBillions = 2;
    troll.groupXp = 40;
    troll.strongXp = 9;
    troll.money = 10000;

    EXPECT_EQ(section(stats),
              kOpening + kMonsterRow +
                  row("Le &lt;gobelin&gt;", "3", "333", "1.000", "2 ors, 15 argents",
                      "2 * une dague<br>1 * " + kArrows) +
                  kMonsterRow +
                  row("Le troll", "1", "2.000.000.005<br>(groupe : 40)<br>(fort : 9)",
                      "2.000.000.005<br>(groupe : 40)<br>(fort : 9)", "1 ors, 0 argents", "") +
                  kTotalRow +
                  row("<i>Total</i>", "4", "500.000.251<br>(bonus : 37)<br>(groupe : 10)<br>(fort : 2)",
                      "2.000.001.005<br>(bonus : 150)<br>(groupe : 40)<br>(fort : 9)", "3 ors, 20 argents", "") +
                  "</table>");
}

TEST(ExperienceSection, ASingleMonsterHasNoTotalRow) {
    PartStats stats;
    add_monster(stats, "Le gobelin", 2).money = 50;
    EXPECT_EQ(section(stats), kOpening + kMonsterRow + row("Le gobelin", "2", "", "", "", "") + "</table>");
}

TEST(ExperienceSection, AveragesOverNoKillsAreADash) {
    PartStats stats;
    add_monster(stats, "Le gobelin", 0).bonusXp = 100;
    add_monster(stats, "Le loup", 0).bonusXp = 50;
    EXPECT_EQ(section(stats),
              kOpening + kTotalRow + row("<i>Total</i>", "0", "<br>(bonus : -)", "<br>(bonus : 150)", "", "") +
                  "</table>");
}

}  // namespace
}  // namespace korvanel
