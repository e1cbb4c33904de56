#include "loggen_lib.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <deque>
#include <iterator>
#include <string>
#include <vector>

#include "text/latin1.h"

namespace korvanel::loggen {

namespace {

// ---------------------------------------------------------------------------
// Names. Each list is one Latin-1 text, its entries separated by "|".
// Names hold no digit (the first number of a line is its amount), no "." in
// loot and item names, no " !" in style and spell names, and heal targets
// hold no "de" (a heal target ends at the first "de" of the line).

// Melee weapons: the weapon name, then its styles.
constexpr auto kSword = latin1("épée longue d'acier bleu|Taillade|Fente du héron|Coup de pommeau|Revers tranchant");
constexpr auto kAxe = latin1("hache de guerre runique|Fendoir|Tourbillon de fer|Coup de hache brutal|Entaille profonde");
constexpr auto kDagger = latin1("dague d'ombre|Coup bas|Lame du serpent|Piqûre venimeuse|Saignée");
constexpr auto kMace = latin1("masse d'armes cloutée|Écrasement|Coup de bélier|Frappe sourde");
constexpr auto kSpear = latin1("lance de cavalier|Empalement|Charge du sanglier|Pointe perçante");
constexpr auto kGreatSword = latin1("grande épée à deux mains|Moulinet|Décapitation|Assaut du lion|Frappe du bourreau");
constexpr auto kHammer = latin1("marteau de forgeron|Coup d'enclume|Martèlement");
constexpr auto kFlail = latin1("fléau du veilleur|Chaîne tournoyante|Frappe en cloche|Fléau des impies");
constexpr auto kScimitar = latin1("cimeterre ciselé|Lame du désert|Croissant de lune|Danse des sables");
constexpr auto kFallbackStyles = latin1("Riposte|Contre du bouclier");
constexpr auto kBows = latin1("arc long en if|arc composite|arbalète de chasse");

enum WeaponTrait : unsigned { kDual = 1, kPoisonBlade = 2, kBleedingBlade = 4, kFallback = 8, kDamageAdd = 16 };

struct WeaponDef {
    std::string_view texts;
    int minDamage, maxDamage;
    unsigned traits;
};

constexpr WeaponDef kMeleeWeapons[] = {
    {kSword, 60, 110, kFallback | kDamageAdd},
    {kAxe, 80, 140, kDamageAdd},
    {kDagger, 25, 55, kDual | kPoisonBlade | kBleedingBlade},
    {kMace, 60, 100, kFallback},
    {kSpear, 70, 120, 0},
    {kGreatSword, 100, 170, kDamageAdd},
    {kHammer, 70, 115, kFallback},
    {kFlail, 65, 110, 0},
    {kScimitar, 45, 85, kDual | kBleedingBlade},
};
constexpr int kMeleeWeaponCount = static_cast<int>(std::size(kMeleeWeapons));

constexpr auto kBoltSpells = latin1(
    "Trait de givre|Boule de feu|Éclair de foudre|Lance de glace|Choc tellurique|Souffle ardent|"
    "Dard de lumière|Flèche des ombres");
constexpr auto kAreaSpells = latin1("Pluie de braises|Onde de givre|Tempête de sable|Nova de flammes");
constexpr auto kDotSpells = latin1("Venin noir|Malédiction de rouille|Brûlure lente");
constexpr auto kHealSpells = latin1("Soin mineur|Soin majeur|Régénération|Baume des anciens");
constexpr auto kGroupHeal = latin1("Guérison collective");
constexpr auto kBuffSpells = latin1("Peau d'écorce|Célérité|Bouclier de ronces|Vigueur du chêne|Aura de clarté");
constexpr auto kBuffEffects = latin1(
    "Votre peau devient dure comme l'écorce.|Vous vous sentez plus vif.|Des ronces vous entourent.|"
    "Une force tranquille vous envahit.|Une aura lumineuse vous entoure.");

constexpr auto kMonsterKinds = latin1(
    "le gobelin|le loup gris|la goule|le squelette|l'ours des cavernes|le sanglier|la harpie|"
    "le troll des marais|l'araignée géante|le brigand|la sorcière des landes|le kobold mineur|"
    "le spectre|le basilic|le gnoll|la vouivre|l'ogre|le golem de pierre|le feu follet|"
    "le chevalier déchu|la mante pâle|le rat géant|le corbeau funeste|la banshee|le sylvain corrompu|"
    "le nain renégat|la liche errante|le serpent des sables|le guetteur gobelin|le chaman kobold|"
    "la bête des tourbières|le cerf noir|le lutin farceur|le gardien d'os|la sangsue géante|"
    "le colosse de ronces|le pillard|la mère des loups|le scorpion rouge|le revenant");
constexpr auto kMonsterHomes = latin1("| des collines| des marais| du vieux bois");
// After each of its episodes an unbounded log has a chat burst, and this
// often a second one: about one line in five is chat.
constexpr int kSecondBurstPercent = 30;
// What the unbounded logs add to the names: 2,080 monsters, 169 spells, 300 items.
constexpr auto kMonsterEpithets = latin1(
    " affamé| enragé| albinos| ancien| sauvage| furtif| colossal| pestilent| maudit| hurleur| famélique|"
    " cuirassé| errant");
constexpr auto kSpellRanks = latin1(" du novice| de l'adepte| du maître| runique| ancestral| sombre| royal");
constexpr auto kItemMakes = latin1(
    "| de facture simple| de bonne facture| ouvragé| renforcé| elfique| naine| de maître| ancien| de guilde");

constexpr auto kLootNames = latin1(
    "une dague rouillée|une peau de loup|un croc acéré|une fiole de sang|un anneau de cuivre|"
    "une bourse déchirée|un parchemin froissé|une gemme terne|un os ancien|une plume noire|"
    "un fragment de rune|un collier de dents|une potion de soin|une étoffe de lin|une lanière de cuir|"
    "un bouclier fendu|une pointe de lance|un éclat de cristal|une griffe courbe|un casque cabossé|"
    "un gantelet usé|une écaille verte|une corne torsadée|une chope en étain|un lingot de fer|"
    "une pierre de lune|une racine amère|un champignon bleu|une toile d'araignée|une dent de troll|"
    "un sac de farine|une flûte d'os|un talisman brisé|une clé rouillée|une cape trouée|"
    "une carte déchirée|un miroir terni|une torche éteinte|une fiole d'huile|un cristal de givre");
constexpr auto kCountedLoot = latin1(" flèches usées| morceaux de viande| pièces de ferraille");

constexpr auto kCraftItems = latin1(
    "épée courte en fer noir|épée longue en fer noir|hache d'armes en bronze|dague de lancer|"
    "masse en acier trempé|bouclier rond en chêne|casque à nasal|gantelets de mailles|"
    "jambières de cuir clouté|cotte de mailles fine|arc court en frêne|arc long en if|carquois de cuir|"
    "flèches à pointe large|robe de lin brodée|cape de laine|bottes de voyage|ceinture de cuir|"
    "anneau d'argent|amulette de jade|potion de vigueur|potion de soin|huile de lame|baume de guérison|"
    "lance de frêne|marteau de guerre|hallebarde ouvragée|brassards renforcés|sac de voyage|"
    "tabard de guilde");
constexpr auto kCraftSkills = latin1(
    "forge d'armes|forge d'armures|couture|menuiserie|travail du cuir|joaillerie|alchimie|empennage");

constexpr auto kAllies = latin1(
    "Aelwen|Brisa|Coran|Elyra|Faolan|Gwenna|Iselt|Kaelis|Lunor|Maren|Nyssa|Oriel|Perrin|Rhosyn|Talie|Yvain");
constexpr auto kPlayerNames = latin1("Korwyn|Ailith|Berengar|Cyriane|Mathis|Solenn|Tiphaine|Gauvain");
constexpr auto kEnemyHeads = latin1(
    "Bran|Eld|Kor|Mael|Tav|Gor|Ryn|Sel|Ath|Dun|Fen|Hal|Ilv|Jor|Lor|Mor|Nol|Orn|Per|Quen|Ros|Syl|"
    "Thal|Ul|Vor|Wyn|Yl|Zar");
constexpr auto kEnemyTails = latin1("ric|dan|noc|wen|ith|ar|eth|ion|mir|gast|ulf|vyn|ador");

constexpr auto kZones = latin1(
    "Plaine de Veldrune|Col d'Arvenne|Marches de Sombreval|Forêt de Kelm|Vallée des Brumes|"
    "Gué de Morlan|Fort de Karnhold|Pont d'Ulveth");
constexpr auto kSiegeTargets = latin1(
    "les Portes du fort de Karnhold|les Portes de la tour d'Ulveth|le Gardien du pont|"
    "le Commandant des Champions du fort|Seigneur Harvald");
constexpr auto kBodyParts = latin1("au torse|à la tête|aux jambes|au bras|à la main|au dos");

constexpr auto kChatMessages = latin1(
    "salut tout le monde|quelqu'un pour un groupe ?|je reviens dans cinq minutes|bien joué|"
    "on se retrouve au fort|attention, ils arrivent par le pont|merci pour le soin|"
    "qui a des flèches en trop ?|vends hache runique, faites une offre|bonne nuit à tous|"
    "ils sont trois au gué, dont un soigneur|on tient la porte encore un peu|je n'ai plus de mana|"
    "besoin d'un forgeron pour une épée|qui vient chasser aux marais ?|le boss réapparaît bientôt|"
    "rdv à la tour dans dix minutes|félicitations pour ton niveau|j'ai trouvé une gemme rare|"
    "ça lag énormément ce soir|on attaque à l'heure pile|quelqu'un a vu Brisa ?|"
    "je dois y aller, à demain|trop fort ce groupe|regroupez-vous sur moi|attendez les soins|"
    "il reste des places pour le raid|achète peaux de loup en quantité|"
    "la route du nord est coupée|merci à tous pour la soirée");
constexpr auto kOtherLines = latin1(
    "Vous vous asseyez.|Vous vous relevez.|Vous avez faim.|Vous ne pouvez pas faire cela pendant un combat.|"
    "Votre endurance est au plus bas.|Vous êtes maintenant camouflé.|Vous n'êtes plus camouflé.|"
    "Vous commencez à courir.|Vous arrêtez de courir.|"
    "Vous n'avez pas assez de puissance pour lancer ce sort.|Cet objet ne peut pas être utilisé maintenant.|"
    "Vous entrez dans une zone de repos.|Vous quittez la zone de repos.|Votre monture est prête.|"
    "Vous descendez de votre monture.|Votre équipement a été réparé.|"
    "Vous attaquez à nouveau à vitesse normale.|Vous attaquez avec une férocité renouvelée!");

constexpr auto kPartNames = latin1(
    "Donjon des Brumes|Siège de Karnhold|Chasse aux trolls|Raid du soir|Forêt de Kelm|Duel au pont|"
    "Artisanat|Marais d'Ulveth|Dernier combat");
constexpr auto kSelectedTarget = latin1("Seigneur Morvach");

constexpr auto kWeekdays = latin1("Sun|Mon|Tue|Wed|Thu|Fri|Sat");
constexpr auto kMonths = latin1("Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec");

// ---------------------------------------------------------------------------
// Message texts.

constexpr auto kJournalOpened = latin1("*** Journal ouvert : ");
constexpr auto kJournalClosed = latin1("*** Journal fermé : ");
constexpr auto kPartCommand = latin1("[TOUS]:  ]log ");

constexpr auto kTarget = latin1("Vous visez [");
constexpr auto kCombatMode = latin1("Vous passez en mode combat.");
constexpr auto kNoTarget = latin1("Vous devez avoir une cible pour utiliser un style de combat !");
constexpr auto kTooFar = latin1(" est trop loin pour une attaque !");
constexpr auto kNotInView = latin1(" n'est pas en vue !");

constexpr auto kAttack = latin1("Vous attaquez ");
constexpr auto kWithYour = latin1(" avec votre ");
constexpr auto kDealing = latin1(", et lui infligez ");
constexpr auto kDamagePoints = latin1(" points de dégâts !");
constexpr auto kStylePrepare = latin1("Vous vous préparez à exécuter votre ");
constexpr auto kStylePerform = latin1("Vous exécutez parfaitement votre ");
constexpr auto kStyleFail = latin1("Vous ne parvenez pas à exécuter parfaitement votre ");
constexpr auto kStyleDropped = latin1("Vous n'êtes plus en train de vous préparer à utiliser votre ");
constexpr auto kFallbackPrepare = latin1("Vous vous préparez maintenant à effectuer le style de secours: ");
constexpr auto kFallbackReason = latin1(" pour pallier votre blocage.");
constexpr auto kMiss = latin1("Vous ratez votre coup !");
constexpr auto kFumble = latin1("Vous ratez lamentablement votre attaque !");
constexpr auto kEvades = latin1(" esquive votre attaque !");
constexpr auto kParries = latin1(" pare votre attaque !");
constexpr auto kBlocks = latin1(" bloque votre attaque !");
constexpr auto kAbsorbed = latin1("Votre coup est absorbé par une barrière magique!");
constexpr auto kCritical = latin1("Vous réussissez un coup critique et infligez ");
constexpr auto kExtraDamage = latin1(" points de dégâts supplémentaires !");
constexpr auto kProc = latin1("Vous frappez et infligez ");
constexpr auto kSuffers = latin1(" subit ");
constexpr auto kExtraDamageDot = latin1(" points de dégâts supplémentaires.");
constexpr auto kShieldDamage = latin1(" points de dégâts de votre Bouclier de ronces.");
constexpr auto kBerserkStart = latin1("La rage de Modi vous submerge !");
constexpr auto kBerserkEnd = latin1("Votre rage berserk prend fin.");
constexpr auto kInterposed = latin1(" s'avance devant vous et encaisse le coup !");

constexpr auto kPoisoned = latin1(" est victime d'un empoisonnement !");
constexpr auto kBleeds = latin1(" saigne !");
constexpr auto kMagicBurst = latin1(" est frappé par un déferlement d'énergies magiques !");
constexpr auto kAcidCloud = latin1("Un nuage acide entoure ");
constexpr auto kOpenWounds = latin1(" voit sa peau se couvrir de plaies ouvertes !");
constexpr auto kTouch = latin1("Vous touchez ");
constexpr auto kTouchDamage = latin1(" et lui infligez ");
constexpr auto kTouchEnd = latin1(" points de dégâts.");
constexpr auto kDotCritical = latin1("Votre sort de dégâts répétés a réussi parfaitement, il inflige ");

constexpr auto kShotPrepare = latin1("Vous préparez votre tir.");
constexpr auto kAutoFire = latin1("Vous allez tirer et recharger automatiquement.");
constexpr auto kShoot = latin1("Vous tirez sur ");
constexpr auto kShotFumble = latin1("Vous ratez lamentablement votre tir !");
constexpr auto kZenith = latin1("Vous tirez droit au zénith !");
constexpr auto kReady = latin1("Prêt à tirer.");
constexpr auto kCannotSee = latin1("Vous ne voyez pas votre cible !");
constexpr auto kShotInterrupted = latin1("Votre tir est interrompu !");
constexpr auto kShotMoved = latin1("Vous vous déplacez et interrompez votre tir !");
constexpr auto kTooTired = latin1("Vous êtes trop fatigué pour utiliser votre arc !");
constexpr auto kShotDisturbed = latin1(" vous attaque, interrompant votre tir !");
constexpr auto kTrebuchet = latin1("Vous tirez avec votre le trébuchet !");
constexpr auto kCatapult = latin1("Vous tirez avec votre la catapulte !");

constexpr auto kIncantationOf = latin1("Vous commencez l'incantation de votre ");
constexpr auto kIncantation = latin1("Vous commencez à incanter.");
constexpr auto kCastInterrupted = latin1(" vous attaque, vous empêchant de poursuivre votre incantation !");
constexpr auto kCast = latin1("Vous lancez le sort ");
constexpr auto kResists = latin1(" résiste à l'effet !");
constexpr auto kEnraged = latin1("Votre cible est enragée et résiste au sort !");
constexpr auto kCannotDamage = latin1("Vous ne parvenez pas à endommager ");

constexpr auto kHeal = latin1("Vous soignez ");
constexpr auto kHealAmount = latin1(" de ");
constexpr auto kHealPoints = latin1(" points de vie.");
constexpr auto kSelfHeal = latin1("Vous vous soignez de ");
constexpr auto kFullHealth = latin1("Vos points de vie sont au maximum.");
constexpr auto kNoMoreHealing = latin1(" n'a plus besoin de soins.");

constexpr auto kHitsYou = latin1(" vous frappe ");
constexpr auto kHitsFor = latin1(" pour ");
constexpr auto kAimsArm = latin1(" vise votre bras et vous blesse pour ");
constexpr auto kMisses = latin1(" rate son coup !");
constexpr auto kYouBlock = latin1(" vous attaque, mais vous bloquez !");
constexpr auto kYouParry = latin1(" vous attaque, mais vous parez !");
constexpr auto kYouEvade = latin1(" vous attaque, mais vous esquivez !");
constexpr auto kBarrierAbsorbs = latin1("Le coup est absorbé par une barrière magique !");
constexpr auto kYouResist = latin1("Vous résistez à l'effet !");
constexpr auto kBarrierPierced = latin1("Le coup a traversé la barrière magique !");
constexpr auto kGuards = latin1(" vous protège de l'attaque lancée par ");
constexpr auto kWeaponAttack = latin1(" vous attaque avec son arme !");
constexpr auto kArrowAttack = latin1(" vous tire avec son arme !");
constexpr auto kCastsSpell = latin1(" lance un sort sur vous !");
constexpr auto kYouArePoisoned = latin1("Vous êtes victime d'un empoisonnement !");
constexpr auto kYouBleed = latin1("Vous saignez !");
constexpr auto kSores = latin1("Votre corps est recouvert d'écorchures douloureuses !");
constexpr auto kViolentPoison = latin1("Vous êtes victime d'un poison violent !");
constexpr auto kInflictsExtra = latin1(" vous inflige ");
constexpr auto kYouTake = latin1("Vous encaissez ");

constexpr auto kDies = latin1(" meurt !");
constexpr auto kExperience = latin1("Vous recevez ");
constexpr auto kExperiencePoints = latin1(" points d'expérience.");
constexpr auto kCampBonus = latin1(" (bonus de camp : ");
constexpr auto kGroupBonus = latin1(" (groupe : ");
constexpr auto kStrongBonus = latin1(" (ennemi fort : ");
constexpr auto kPickUp = latin1("Vous ramassez ");
constexpr auto kLootShare = latin1("Votre part du butin se compose de ");
constexpr auto kLeaves = latin1(" laisse ");
constexpr auto kGold = latin1(" pièces d'or");
constexpr auto kGoldOne = latin1(" pièce d'or");
constexpr auto kSilver = latin1(" pièces d'argent");
constexpr auto kSilverOne = latin1(" pièce d'argent");
constexpr auto kCopper = latin1(" pièces de cuivre");
constexpr auto kCopperOne = latin1(" pièce de cuivre");

constexpr auto kYouKilled = latin1("Vous venez de tuer ");
constexpr auto kJustDied = latin1(" vient de mourir.");
constexpr auto kWasKilledIn = latin1(" vient juste d'être tué dans [");
constexpr auto kKilledBy = latin1("] par ");
constexpr auto kDeathForRealm = latin1("Vous êtes mort pour le royaume.");
constexpr auto kRealmPoints = latin1("Vous gagnez ");
constexpr auto kRealmPointsEnd = latin1(" realm points!");
constexpr auto kRealmPointEnd = latin1(" realm point!");
constexpr auto kExtraRealmPoints = latin1(" points de royaume supplémentaires !");
constexpr auto kBounty = latin1(" Primes de Royaume!");
constexpr auto kBountyOne = latin1(" Prime de Royaume!");
constexpr auto kDuelAccepted = latin1("Vous acceptez le duel de ");
constexpr auto kDuelOver = latin1("Votre duel est terminé!");
constexpr auto kRaised = latin1("Vous avez été relevé par ");
constexpr auto kJoinsGroup = latin1(" a rejoint le groupe.");

constexpr auto kCraftStart = latin1("Vous commencez le travail sur ");
constexpr auto kCraftSuccess = latin1("Vous avez réussi votre confection. Vous avez désormais ");
constexpr auto kCraftQuality = latin1(" de qualité ");
constexpr auto kCraftFail = latin1("Vous ne réussissez pas à confectionner ");
constexpr auto kCraftNoLoss = latin1(", mais ne perdez aucun matériau !");
constexpr auto kCraftLoss = latin1(" et perdez une partie des matériaux !");
constexpr auto kSkillGain = latin1("Vous devenez plus doué en ");
constexpr auto kKeepWorking = latin1("Vous continuez votre travail.");

constexpr auto kGuildChat = latin1("@@[Guilde] ");
constexpr auto kFriendsChat = latin1("@@[Discussion] ");
constexpr auto kGroupChat = latin1("@@[Groupe] ");
constexpr auto kAllianceChat = latin1("@@[Alliance] ");
constexpr auto kSaysQuoted = latin1(" : \"");
constexpr auto kSendsTo = latin1(" envoie, \"");
constexpr auto kYouSend = latin1("@@Vous envoyez, \"");
constexpr auto kTo = latin1("\" à ");
constexpr auto kSays = latin1(" dit, \"");
constexpr auto kYouSay = latin1("@@Vous dîtes, \"");

constexpr std::uint64_t kDay = 86400;

// ---------------------------------------------------------------------------

class TextList {
public:
    explicit TextList(std::string_view joined) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = joined.find('|', start);
            items_.push_back(joined.substr(start, bar == std::string_view::npos ? bar : bar - start));
            if (bar == std::string_view::npos) break;
            start = bar + 1;
        }
    }
    int size() const { return static_cast<int>(items_.size()); }
    std::string_view operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }

    // Every item once with each of the suffixes, item by item; `names` keeps the new texts.
    void widen(const TextList& suffixes, std::deque<std::string>& names) {
        std::vector<std::string_view> wide;
        for (std::string_view item : items_) {
            for (std::string_view suffix : suffixes.items_) {
                names.push_back(std::string(item).append(suffix));
                wide.push_back(names.back());
            }
        }
        items_ = std::move(wide);
    }

private:
    std::vector<std::string_view> items_;
};

// A small deterministic generator (splitmix64): the same seed gives the same
// log on every machine and with every standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    std::string_view pick(const TextList& list) { return list[below(list.size())]; }

private:
    std::uint64_t state_;
};

// A number written with "." between groups of three digits, as the game
// writes experience and realm points.
struct Grouped {
    long long value;
};
// A bracketed modifier " (+5)" or " (-3)".
struct Modifier {
    int value;
};

// Days since 1970-01-01 to a calendar date (proleptic Gregorian).
struct Date {
    int year, month, day;
};
Date date_from_days(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long day_of_era = days - era * 146097;
    const long long year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long month_index = (5 * day_of_year + 2) / 153;
    const int day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
    const int month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
    const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

// Someone or something the player fights: the name as the player's own
// lines write it, and the same at the start of a line.
struct Foe {
    std::string_view name;
    std::string_view capitalised;
    int strength;  // 1 to 10: scales damage and experience
    int monster;   // index in the monster list, -1 for a player or a siege target
};

struct Command {
    std::uint64_t atLine;
    int part;         // the part that becomes current
    bool select;      // named after the selected target rather than by "name "
    bool initial;     // "ini": back to the first part
};

class Generator;

// One line under construction; it is written out at the end of the
// statement that built it.
class LineOut {
public:
    LineOut(Generator& generator, LineKind kind) : generator_(generator), kind_(kind) {}
    LineOut(const LineOut&) = delete;
    LineOut& operator=(const LineOut&) = delete;
    ~LineOut();

    LineOut& operator<<(std::string_view text);
    LineOut& operator<<(long long number);
    LineOut& operator<<(Grouped number);
    LineOut& operator<<(Modifier modifier);

private:
    Generator& generator_;
    LineKind kind_;
};

class Generator {
public:
    Generator(const Options& options, const std::function<void(LineKind, std::string_view)>& sink);
    void run();

private:
    friend class LineOut;

    bool done() const { return emitted_ >= options_.lines; }
    void tick(int low, int high) { now_ += static_cast<std::uint64_t>(rng_.between(low, high)); }
    LineOut say(LineKind kind);
    LineOut say_untimed(LineKind kind);
    void commit(LineKind kind);
    void append_number(long long number);
    std::string date_text() const;

    // sessions and parts
    void open_session();
    void close_session();
    void plan_commands();
    void run_due_commands();
    bool may_store_line() const { return options_.unbounded || stored_ < options_.storedLineBudget; }

    // episodes
    void episode();
    void melee_fight(const Foe& foe, bool realm);
    void melee_exchange(const Foe& foe, bool realm);
    void weapon_hit(const Foe& foe, int weapon);
    void after_weapon_hit(const Foe& foe, int weapon);
    void monster_attacks(const Foe& foe);
    void player_attacks(const Foe& foe);
    void avoidance(const Foe& foe);
    void archery_fight(const Foe& foe);
    void caster_fight(const Foe& foe);
    void heal_episode();
    void realm_fight();
    void realm_kill(const Foe& foe, std::string_view zone);
    void player_death(std::string_view killer, std::string_view zone);
    void siege();
    void duel();
    void incoming_barrage();
    void hunt_rewards(const Foe& foe);
    void crafting_session();
    void chat_burst();
    void other_lines();

    Foe monster_foe();
    Foe enemy_foe();
    std::string_view weapon_name(int weapon) const { return weapons_[static_cast<std::size_t>(weapon)][0]; }
    std::string_view weapon_style(int weapon) {
        const TextList& list = weapons_[static_cast<std::size_t>(weapon)];
        return list[rng_.between(1, list.size() - 1)];
    }
    int damage(int weapon) {
        const WeaponDef& def = kMeleeWeapons[weapon];
        return rng_.between(def.minDamage, def.maxDamage);
    }
    bool has(int weapon, unsigned trait) const { return (kMeleeWeapons[weapon].traits & trait) != 0; }
    Modifier modifier() { return {rng_.percent(15) ? -rng_.between(1, 12) : rng_.between(0, 25)}; }
    void coins(LineOut& line, int copper);

    const Options& options_;
    const std::function<void(LineKind, std::string_view)>& sink_;
    Random rng_;
    std::string text_;
    std::uint64_t emitted_ = 0;
    std::uint64_t now_ = 0;            // seconds since the first day of the log, midnight
    long long firstDay_ = 0;           // days since 1970-01-01
    std::uint64_t sessionEnd_ = 0;     // line count at which the session closes
    int stored_ = 0;                   // chat and log-opening lines written
    int currentPart_ = 0;
    std::array<int, 10> realmAwards_{};
    std::vector<Command> commands_;
    std::size_t nextCommand_ = 0;
    bool berserk_ = false;
    std::string_view pendingFallback_;

    // the player's outfit for the session
    int mainWeapon_ = 0;
    int offWeapon_ = 2;
    int bow_ = 0;
    int huntingGround_ = 0;  // first monster of the hunting ground
    std::string_view player_;

    std::vector<TextList> weapons_;
    TextList fallbackStyles_{kFallbackStyles}, bows_{kBows};
    TextList boltSpells_{kBoltSpells}, areaSpells_{kAreaSpells}, dotSpells_{kDotSpells};
    TextList healSpells_{kHealSpells}, buffSpells_{kBuffSpells}, buffEffects_{kBuffEffects};
    TextList lootNames_{kLootNames}, countedLoot_{kCountedLoot};
    TextList craftItems_{kCraftItems}, craftSkills_{kCraftSkills};
    TextList allies_{kAllies}, zones_{kZones}, siegeTargets_{kSiegeTargets}, bodyParts_{kBodyParts};
    TextList chatMessages_{kChatMessages}, otherLines_{kOtherLines}, partNames_{kPartNames};
    TextList weekdays_{kWeekdays}, months_{kMonths};
    std::vector<std::string> monsters_, monstersCapitalised_;
    std::vector<std::string> enemies_;
    std::deque<std::string> widenedNames_;  // the texts of the widened lists
};

LineOut::~LineOut() { generator_.commit(kind_); }
LineOut& LineOut::operator<<(std::string_view text) {
    generator_.text_.append(text);
    return *this;
}
LineOut& LineOut::operator<<(long long number) {
    generator_.append_number(number);
    return *this;
}
LineOut& LineOut::operator<<(Grouped number) {
    // 1234567 is written 1.234.567
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number.value).ptr;
    const auto count = static_cast<std::size_t>(end - digits);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) generator_.text_.push_back('.');
        generator_.text_.push_back(digits[i]);
    }
    return *this;
}
LineOut& LineOut::operator<<(Modifier modifier) {
    generator_.text_.append(modifier.value < 0 ? " (-" : " (+");
    generator_.append_number(modifier.value < 0 ? -modifier.value : modifier.value);
    generator_.text_.push_back(')');
    return *this;
}

Generator::Generator(const Options& options, const std::function<void(LineKind, std::string_view)>& sink)
    : options_(options), sink_(sink), rng_(options.seed * 0x2545F4914F6CDD1Dull + 0x1234567ull) {
    text_.reserve(320);
    for (const WeaponDef& weapon : kMeleeWeapons) weapons_.emplace_back(weapon.texts);

    const TextList kinds{kMonsterKinds}, homes{kMonsterHomes};
    const TextList epithets{options.unbounded ? std::string_view(kMonsterEpithets) : std::string_view()};
    for (int epithet = 0; epithet < epithets.size(); ++epithet) {
        for (int home = 0; home < homes.size(); ++home) {
            for (int kind = 0; kind < kinds.size(); ++kind) {
                std::string name(kinds[kind]);
                name.append(homes[home]).append(epithets[epithet]);
                std::string capitalised = name;
                capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
                monsters_.push_back(std::move(name));
                monstersCapitalised_.push_back(std::move(capitalised));
            }
        }
    }
    if (options.unbounded) {
        const TextList spell_ranks{kSpellRanks}, item_makes{kItemMakes};
        for (TextList* spells : {&boltSpells_, &areaSpells_, &dotSpells_, &healSpells_, &buffSpells_}) {
            spells->widen(spell_ranks, widenedNames_);
        }
        craftItems_.widen(item_makes, widenedNames_);
    }
    const TextList heads{kEnemyHeads}, tails{kEnemyTails};
    for (int head = 0; head < heads.size(); ++head) {
        for (int tail = 0; tail < tails.size(); ++tail) {
            std::string name(heads[head]);
            name.append(tails[tail]);
            if (name.find("de") == std::string::npos) enemies_.push_back(std::move(name));
        }
    }
    const TextList players{kPlayerNames};
    player_ = players[static_cast<int>(options.seed % static_cast<std::uint64_t>(players.size()))];
    firstDay_ = 19250 + static_cast<long long>(options.seed % 700);  // a day of 2022 to 2024
    now_ = static_cast<std::uint64_t>(rng_.between(17 * 3600, 21 * 3600));
}

LineOut Generator::say(LineKind kind) {
    text_.clear();
    const std::uint64_t second_of_day = now_ % kDay;
    const auto hours = static_cast<int>(second_of_day / 3600);
    const auto minutes = static_cast<int>(second_of_day / 60 % 60);
    const auto seconds = static_cast<int>(second_of_day % 60);
    const char stamp[11] = {'[',
                            static_cast<char>('0' + hours / 10),
                            static_cast<char>('0' + hours % 10),
                            ':',
                            static_cast<char>('0' + minutes / 10),
                            static_cast<char>('0' + minutes % 10),
                            ':',
                            static_cast<char>('0' + seconds / 10),
                            static_cast<char>('0' + seconds % 10),
                            ']',
                            ' '};
    text_.append(stamp, sizeof stamp);
    return LineOut(*this, kind);
}

LineOut Generator::say_untimed(LineKind kind) {
    text_.clear();
    return LineOut(*this, kind);
}

void Generator::commit(LineKind kind) {
    if (done()) return;
    text_.push_back('\n');
    ++emitted_;
    sink_(kind, text_);
}

void Generator::append_number(long long number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text_.append(digits, static_cast<std::size_t>(end - digits));
}

// "Wed Sep 14 19:02:11 2022", the way the client writes the date of a log opening.
std::string Generator::date_text() const {
    const long long day = firstDay_ + static_cast<long long>(now_ / kDay);
    const Date date = date_from_days(day);
    const std::uint64_t second_of_day = now_ % kDay;
    char text[32];
    char* out = text;
    const auto two = [&out](long long value) {
        *out++ = static_cast<char>('0' + value / 10);
        *out++ = static_cast<char>('0' + value % 10);
    };
    const std::string_view weekday = weekdays_[static_cast<int>((day % 7 + 11) % 7)];
    const std::string_view month = months_[date.month - 1];
    for (char c : weekday) *out++ = c;
    *out++ = ' ';
    for (char c : month) *out++ = c;
    *out++ = ' ';
    two(date.day);
    *out++ = ' ';
    two(static_cast<long long>(second_of_day / 3600));
    *out++ = ':';
    two(static_cast<long long>(second_of_day / 60 % 60));
    *out++ = ':';
    two(static_cast<long long>(second_of_day % 60));
    *out++ = ' ';
    out = std::to_chars(out, text + sizeof text, date.year).ptr;
    return std::string(text, out);
}

// ---------------------------------------------------------------------------
// Sessions and parts

void Generator::open_session() {
    if (!may_store_line()) {
        sessionEnd_ = options_.lines;  // no more openings: the session runs on
        return;
    }
    say_untimed(LineKind::kLogSession) << kJournalOpened << date_text();
    ++stored_;
    sessionEnd_ = emitted_ + static_cast<std::uint64_t>(rng_.between(1500, 6000));  // an evening of play
    // the outfit and the hunting ground of the evening
    mainWeapon_ = rng_.below(kMeleeWeaponCount);
    offWeapon_ = rng_.percent(50) ? 2 : 8;  // the dagger or the scimitar in the other hand
    bow_ = rng_.below(bows_.size());
    huntingGround_ = rng_.below(static_cast<int>(monsters_.size()) - 12);
}

void Generator::close_session() {
    if (!may_store_line()) {
        sessionEnd_ = options_.lines;
        return;
    }
    say_untimed(LineKind::kLogSession) << kJournalClosed << date_text();
    // the next evening of play, a day or two later
    now_ = (now_ / kDay + static_cast<std::uint64_t>(rng_.between(1, 2))) * kDay +
           static_cast<std::uint64_t>(rng_.between(10 * 3600, 21 * 3600));
    open_session();
}

// The commands that cut the log into its parts: one at the start of each
// part, and (with three parts or more) a return to the first part in the
// middle of the second, which then resumes.
void Generator::plan_commands() {
    const int parts = std::min(options_.parts, 10);
    if (parts < 2) return;
    const std::uint64_t length = options_.lines / static_cast<std::uint64_t>(parts);
    for (int part = 1; part < parts; ++part) {
        const std::uint64_t start = length * static_cast<std::uint64_t>(part);
        commands_.push_back({start, part, part == 3, false});
        if (part == 1 && parts >= 3 && length >= 40) {
            commands_.push_back({start + length / 2, 0, false, true});
            commands_.push_back({start + length * 3 / 4, 1, false, false});
        }
    }
}

void Generator::run_due_commands() {
    while (nextCommand_ < commands_.size() && emitted_ >= commands_[nextCommand_].atLine) {
        const Command& command = commands_[nextCommand_++];
        tick(2, 20);
        if (command.initial) {
            say(LineKind::kPartCommand) << kPartCommand << "ini";
        } else if (command.select) {
            say(LineKind::kTarget) << kTarget << kSelectedTarget << "].";
            tick(1, 3);
            say(LineKind::kPartCommand) << kPartCommand << "select";
        } else {
            say(LineKind::kPartCommand) << kPartCommand << "name " << partNames_[(command.part - 1) % partNames_.size()];
        }
        currentPart_ = command.part;
    }
}

void Generator::run() {
    plan_commands();
    open_session();
    while (!done()) {
        run_due_commands();
        if (emitted_ >= sessionEnd_) close_session();
        episode();
        // A sociable player talks between the fights too.
        if (options_.unbounded) {
            const int bursts = rng_.percent(kSecondBurstPercent) ? 2 : 1;
            for (int burst = 0; burst < bursts && !done(); ++burst) chat_burst();
        }
        tick(3, 40);
    }
}

// ---------------------------------------------------------------------------
// Episodes

void Generator::episode() {
    const int roll = rng_.below(100);
    if (roll < 30) {
        melee_fight(monster_foe(), false);
    } else if (roll < 37) {
        archery_fight(monster_foe());
    } else if (roll < 47) {
        caster_fight(monster_foe());
    } else if (roll < 54) {
        heal_episode();
    } else if (roll < 64) {
        realm_fight();
    } else if (roll < 68) {
        incoming_barrage();
    } else if (roll < 73) {
        crafting_session();
    } else if (roll < 80) {
        chat_burst();
    } else {
        other_lines();
    }
}

Foe Generator::monster_foe() {
    const int index = huntingGround_ + rng_.below(12);
    const auto slot = static_cast<std::size_t>(index);
    return {monsters_[slot], monstersCapitalised_[slot], 1 + index % 10, index};
}

Foe Generator::enemy_foe() {
    const std::string& name = enemies_[static_cast<std::size_t>(rng_.below(static_cast<int>(enemies_.size())))];
    return {name, name, rng_.between(5, 10), -1};
}

void Generator::melee_fight(const Foe& foe, bool realm) {
    say(LineKind::kTarget) << kTarget << foe.name << "].";
    tick(1, 2);
    if (rng_.percent(30)) say(LineKind::kStyle) << kCombatMode;
    const int rounds = rng_.between(3, 10);
    for (int round = 0; round < rounds && !done(); ++round) {
        tick(2, 4);
        if (!berserk_ && rng_.percent(2)) {
            say(LineKind::kCritical) << kBerserkStart;
            berserk_ = true;
        } else if (berserk_ && rng_.percent(30)) {
            say(LineKind::kCritical) << kBerserkEnd;
            berserk_ = false;
        }
        melee_exchange(foe, realm);
        if (rng_.percent(55)) {
            tick(0, 1);
            if (realm) {
                player_attacks(foe);
            } else {
                monster_attacks(foe);
            }
        }
    }
    if (berserk_) {
        say(LineKind::kCritical) << kBerserkEnd;
        berserk_ = false;
    }
}

// One swing of the player: a plain or styled blow, a multiple attack, or a
// blow that fails.
void Generator::melee_exchange(const Foe& foe, bool realm) {
    const int weapon = mainWeapon_;
    if (!pendingFallback_.empty()) {
        // the fallback style prepared after a block
        const std::string_view style = pendingFallback_;
        pendingFallback_ = {};
        if (rng_.percent(70)) {
            say(LineKind::kStyle) << kStylePerform << style << " ! (+" << static_cast<long long>(rng_.between(10, 40))
                                  << ")";
            weapon_hit(foe, weapon);
            return;
        }
    }
    const int roll = rng_.below(100);
    if (has(weapon, kDual) && roll < 14) {
        const int blows = rng_.between(2, 4);
        for (int blow = 0; blow < blows; ++blow) {
            const int hand = blow % 2 == 0 ? weapon : offWeapon_;
            if (rng_.percent(15)) {
                say(LineKind::kMeleeMiss) << foe.capitalised << kEvades;
            } else {
                weapon_hit(foe, hand);
            }
        }
        return;
    }
    if (roll < 40) {
        const std::string_view style = weapon_style(weapon);
        if (rng_.percent(50)) {
            say(LineKind::kStyle) << kStylePrepare << style << ".";
            tick(1, 2);
            if (rng_.percent(5)) {
                say(LineKind::kStyle) << kStyleDropped << style << ".";
                return;
            }
        }
        if (rng_.percent(85)) {
            say(LineKind::kStyle) << kStylePerform << style << " ! (+" << static_cast<long long>(rng_.between(5, 60))
                                  << ")";
            weapon_hit(foe, weapon);
        } else {
            say(LineKind::kStyle) << kStyleFail << style << ".";
            if (rng_.percent(70)) {
                weapon_hit(foe, weapon);
            } else {
                say(LineKind::kMeleeMiss) << kMiss;
            }
        }
        return;
    }
    if (roll < 76) {
        if (rng_.percent(2)) say(LineKind::kMeleeHit) << allies_[rng_.below(allies_.size())] << kInterposed;
        weapon_hit(foe, weapon);
        return;
    }
    const int failure = rng_.below(100);
    if (failure < 30) {
        say(LineKind::kMeleeMiss) << kMiss;
    } else if (failure < 37) {
        say(LineKind::kMeleeMiss) << kFumble;
    } else if (failure < 57) {
        say(LineKind::kMeleeMiss) << foe.capitalised << kEvades;
    } else if (failure < 75) {
        say(LineKind::kMeleeMiss) << foe.capitalised << kParries;
    } else if (failure < 88 || !realm) {
        say(LineKind::kMeleeMiss) << foe.capitalised << kBlocks;
    } else {
        say(LineKind::kMeleeMiss) << kAbsorbed;
    }
}

void Generator::weapon_hit(const Foe& foe, int weapon) {
    {
        auto line = say(LineKind::kMeleeHit);
        line << kAttack << foe.name << kWithYour << weapon_name(weapon) << kDealing
             << static_cast<long long>(damage(weapon) * (10 + foe.strength) / 12);
        if (rng_.percent(85)) line << modifier();
        line << kDamagePoints;
    }
    after_weapon_hit(foe, weapon);
}

void Generator::after_weapon_hit(const Foe& foe, int weapon) {
    if (rng_.percent(12)) {
        say(LineKind::kCritical) << kCritical << static_cast<long long>(damage(weapon) / 2) << kExtraDamage;
    }
    if (rng_.percent(6)) say(LineKind::kProc) << kProc << static_cast<long long>(rng_.between(15, 60)) << kDamagePoints;
    if (has(weapon, kDamageAdd) && rng_.percent(25)) {
        say(LineKind::kProc) << foe.capitalised << kSuffers << static_cast<long long>(rng_.between(4, 14))
                             << kExtraDamageDot;
    }
    if (has(weapon, kPoisonBlade) && rng_.percent(20)) {
        say(LineKind::kDamageOverTime) << foe.capitalised << kPoisoned;
        say(LineKind::kDamageOverTime) << kTouch << foe.name << kTouchDamage << static_cast<long long>(rng_.between(8, 30))
                                       << kTouchEnd;
    }
    if (has(weapon, kBleedingBlade) && rng_.percent(10)) {
        say(LineKind::kDamageOverTime) << foe.capitalised << kBleeds;
        say(LineKind::kDamageOverTime) << kTouch << foe.name << kTouchDamage << static_cast<long long>(rng_.between(5, 25))
                                       << kTouchEnd;
    }
}

void Generator::monster_attacks(const Foe& foe) {
    const int roll = rng_.below(100);
    const auto blow = static_cast<long long>(rng_.between(10, 30) * foe.strength / 3 + 5);
    if (roll < 50) {
        say(LineKind::kMonsterAttack) << foe.capitalised << kHitsYou << bodyParts_[rng_.below(bodyParts_.size())]
                                      << kHitsFor << blow << kDamagePoints;
    } else if (roll < 58) {
        say(LineKind::kMonsterAttack) << foe.capitalised << kAimsArm << blow << kDamagePoints;
    } else {
        avoidance(foe);
    }
}

// An attack of the player's own kind: the line that says where the damage
// comes from, then the damage taken.
void Generator::player_attacks(const Foe& foe) {
    const int roll = rng_.below(100);
    if (roll < 25) {
        avoidance(foe);
        return;
    }
    if (roll < 55) {
        say(LineKind::kReceivedDamage) << foe.name << kWeaponAttack;
    } else if (roll < 67) {
        say(LineKind::kReceivedDamage) << foe.name << kCastsSpell;
    } else if (roll < 77) {
        say(LineKind::kReceivedDamage) << foe.name << kArrowAttack;
    } else if (roll < 82) {
        say(LineKind::kReceivedDamage) << kYouArePoisoned;
    } else if (roll < 86) {
        say(LineKind::kReceivedDamage) << kYouBleed;
    } else if (roll < 89) {
        say(LineKind::kReceivedDamage) << kSores;
    } else if (roll < 92) {
        say(LineKind::kReceivedDamage) << kViolentPoison;
    } else if (roll < 97) {
        say(LineKind::kReceivedDamage) << foe.name << kInflictsExtra << static_cast<long long>(rng_.between(5, 20))
                                       << kExtraDamage;
    } else {
        say(LineKind::kAvoidance) << kBarrierPierced;
    }
    say(LineKind::kReceivedDamage) << kYouTake << static_cast<long long>(rng_.between(20, 160)) << kTouchEnd;
}

void Generator::avoidance(const Foe& foe) {
    const int roll = rng_.below(100);
    if (roll < 30) {
        say(LineKind::kAvoidance) << foe.capitalised << kMisses;
        if (rng_.percent(20)) say(LineKind::kAvoidance) << kBarrierAbsorbs;
    } else if (roll < 50) {
        say(LineKind::kAvoidance) << foe.capitalised << kYouEvade;
    } else if (roll < 68) {
        say(LineKind::kAvoidance) << foe.capitalised << kYouParry;
    } else if (roll < 85) {
        say(LineKind::kAvoidance) << foe.capitalised << kYouBlock;
        if (has(mainWeapon_, kFallback) && rng_.percent(40)) {
            pendingFallback_ = fallbackStyles_[rng_.below(fallbackStyles_.size())];
            say(LineKind::kStyle) << kFallbackPrepare << pendingFallback_ << kFallbackReason;
        }
    } else if (roll < 93) {
        say(LineKind::kAvoidance) << allies_[rng_.below(allies_.size())] << kGuards << foe.name << " !";
    } else {
        say(LineKind::kAvoidance) << kYouResist;
    }
    if (rng_.percent(5)) {
        say(LineKind::kProc) << foe.capitalised << kSuffers << static_cast<long long>(rng_.between(3, 12))
                             << kShieldDamage;
    }
}

void Generator::archery_fight(const Foe& foe) {
    const std::string_view bow = bows_[bow_];
    say(LineKind::kTarget) << kTarget << foe.name << "].";
    const bool automatic = rng_.percent(40);
    const int shots = rng_.between(3, 9);
    for (int shot = 0; shot < shots && !done(); ++shot) {
        tick(1, 2);
        if (automatic) say(LineKind::kShot) << kAutoFire;
        say(LineKind::kShot) << kShotPrepare;
        tick(2, 4);
        const int roll = rng_.below(100);
        if (roll < 7) {
            switch (rng_.below(6)) {
                case 0: say(LineKind::kShot) << kShotInterrupted; break;
                case 1: say(LineKind::kShot) << foe.capitalised << kShotDisturbed; break;
                case 2: say(LineKind::kShot) << kShotMoved; break;
                case 3: say(LineKind::kShot) << kCannotSee; break;
                case 4: say(LineKind::kShot) << kReady; break;
                default: say(LineKind::kShot) << kTooTired; break;
            }
            continue;
        }
        if (roll < 80) {
            auto line = say(LineKind::kShot);
            line << kShoot << foe.name << kWithYour << bow << kDealing
                 << static_cast<long long>(rng_.between(40, 120) * (10 + foe.strength) / 12);
            if (rng_.percent(85)) line << modifier();
            line << kDamagePoints;
        } else if (roll < 89) {
            say(LineKind::kMeleeMiss) << kMiss;
        } else if (roll < 95) {
            say(LineKind::kMeleeMiss) << foe.capitalised << kEvades;
        } else if (roll < 98) {
            say(LineKind::kMeleeMiss) << foe.capitalised << kBlocks;
        } else if (roll < 99) {
            say(LineKind::kMeleeMiss) << kShotFumble;
        } else {
            say(LineKind::kShot) << kZenith;
        }
        if (roll < 80 && rng_.percent(10)) {
            say(LineKind::kCritical) << kCritical << static_cast<long long>(rng_.between(20, 60)) << kExtraDamage;
        }
        if (rng_.percent(20)) {
            tick(0, 1);
            monster_attacks(foe);
        }
    }
    if (rng_.percent(85)) hunt_rewards(foe);
}

void Generator::caster_fight(const Foe& foe) {
    say(LineKind::kTarget) << kTarget << foe.name << "].";
    const int casts = rng_.between(2, 6);
    for (int cast = 0; cast < casts && !done(); ++cast) {
        tick(1, 3);
        const int kind = rng_.below(100);
        std::string_view spell;
        if (kind < 55) {
            spell = rng_.pick(boltSpells_);
        } else if (kind < 75) {
            spell = rng_.pick(areaSpells_);
        } else if (kind < 90) {
            spell = rng_.pick(dotSpells_);
        } else {
            spell = rng_.pick(buffSpells_);
        }
        const int start = rng_.below(100);
        if (start < 60) {
            say(LineKind::kSpellCast) << kIncantationOf << spell << ".";
        } else if (start < 85) {
            say(LineKind::kSpellCast) << kIncantation;
        }
        tick(2, rng_.percent(2) ? 10 : 4);
        if (rng_.percent(6)) {
            say(LineKind::kSpellCast) << foe.capitalised << kCastInterrupted;
            continue;
        }
        say(LineKind::kSpellCast) << kCast << spell << " !";
        if (kind < 55) {
            const int result = rng_.below(100);
            if (result < 80) {
                auto line = say(LineKind::kSpellResult);
                line << kProc << static_cast<long long>(rng_.between(90, 260) * (10 + foe.strength) / 12);
                if (rng_.percent(80)) line << modifier();
                line << kDamagePoints;
            } else if (result < 90) {
                say(LineKind::kSpellResult) << foe.capitalised << kResists;
            } else if (result < 97) {
                say(LineKind::kSpellResult) << kCannotDamage << foe.name << ".";
            } else {
                say(LineKind::kSpellResult) << kEnraged;
            }
            if (result < 80 && rng_.percent(12)) {
                say(LineKind::kSpellResult) << kCritical << static_cast<long long>(rng_.between(30, 120)) << kExtraDamage;
            }
        } else if (kind < 75) {
            const int targets = rng_.between(1, 4);
            for (int target = 0; target < targets; ++target) {
                const std::string_view name = target == 0 ? foe.name : monster_foe().name;
                say(LineKind::kSpellResult) << kTouch << name << kTouchDamage
                                            << static_cast<long long>(rng_.between(60, 180)) << kTouchEnd;
            }
        } else if (kind < 90) {
            say(LineKind::kSpellResult) << kTouch << foe.name << kTouchDamage
                                        << static_cast<long long>(rng_.between(20, 70)) << kTouchEnd;
            if (rng_.percent(25)) {
                say(LineKind::kSpellResult) << kDotCritical << static_cast<long long>(rng_.between(10, 50))
                                            << kExtraDamage;
            }
            // the later ticks of the spell, in other seconds
            for (int tick_count = rng_.below(3); tick_count > 0; --tick_count) {
                tick(3, 4);
                say(LineKind::kSpellResult) << kTouch << foe.name << kTouchDamage
                                            << static_cast<long long>(rng_.between(20, 70)) << kTouchEnd;
            }
        } else {
            say(LineKind::kOther) << buffEffects_[rng_.below(buffEffects_.size())];
        }
        if (rng_.percent(8)) {
            // a weapon effect of a group member on the same target
            const int marker = rng_.below(4);
            if (marker == 0) {
                say(LineKind::kDamageOverTime) << foe.capitalised << kMagicBurst;
            } else if (marker == 1) {
                say(LineKind::kDamageOverTime) << kAcidCloud << foe.name << ".";
            } else if (marker == 2) {
                say(LineKind::kDamageOverTime) << foe.capitalised << kOpenWounds;
            } else {
                say(LineKind::kDamageOverTime) << foe.capitalised << kPoisoned;
            }
            say(LineKind::kDamageOverTime) << kTouch << foe.name << kTouchDamage
                                           << static_cast<long long>(rng_.between(10, 40)) << kTouchEnd;
        }
        if (rng_.percent(35)) {
            tick(0, 1);
            monster_attacks(foe);
        }
    }
    if (rng_.percent(90)) hunt_rewards(foe);
}

void Generator::heal_episode() {
    const int heals = rng_.between(2, 6);
    for (int heal = 0; heal < heals && !done(); ++heal) {
        tick(2, 5);
        const int kind = rng_.below(100);
        const std::string_view spell = kind < 25 ? std::string_view(kGroupHeal) : rng_.pick(healSpells_);
        if (rng_.percent(70)) {
            say(LineKind::kSpellCast) << kIncantation;
            tick(2, 3);
        }
        say(LineKind::kSpellCast) << kCast << spell << " !";
        if (rng_.percent(3)) tick(1, 1);  // the result comes a second late and is not counted
        if (kind < 25) {
            const int first = rng_.below(allies_.size());
            const int count = rng_.between(2, 5);
            for (int i = 0; i < count; ++i) {
                say(LineKind::kHeal) << kHeal << allies_[(first + i) % allies_.size()] << kHealAmount
                                     << static_cast<long long>(rng_.between(80, 260)) << kHealPoints;
            }
            if (rng_.percent(30)) say(LineKind::kHeal) << allies_[rng_.below(allies_.size())] << kNoMoreHealing;
        } else if (kind < 45) {
            say(LineKind::kHeal) << kSelfHeal << static_cast<long long>(rng_.between(120, 420)) << kHealPoints;
            if (rng_.percent(25)) say(LineKind::kHeal) << kFullHealth;
        } else {
            const std::string_view ally = allies_[rng_.below(allies_.size())];
            say(LineKind::kHeal) << kHeal << ally << kHealAmount << static_cast<long long>(rng_.between(150, 520))
                                 << kHealPoints;
            if (rng_.percent(25)) say(LineKind::kHeal) << ally << kNoMoreHealing;
        }
        if (rng_.percent(30)) {
            tick(1, 2);
            player_attacks(enemy_foe());
        }
        if (rng_.percent(8)) {
            tick(1, 2);
            say(LineKind::kSpellCast) << kCast << rng_.pick(buffSpells_) << " !";
            say(LineKind::kOther) << buffEffects_[rng_.below(buffEffects_.size())];
        }
    }
}

void Generator::realm_fight() {
    const int roll = rng_.below(100);
    if (roll < 8) {
        siege();
        return;
    }
    if (roll < 13) {
        duel();
        return;
    }
    const Foe foe = enemy_foe();
    const std::string_view zone = zones_[rng_.below(zones_.size())];
    melee_fight(foe, true);
    tick(1, 3);
    const int end = rng_.below(100);
    if (end < 55) {
        realm_kill(foe, zone);
    } else if (end < 70) {
        player_death(foe.name, zone);
    } else if (end < 85) {
        say(LineKind::kStyle) << foe.capitalised << kTooFar;
    } else {
        say(LineKind::kStyle) << foe.capitalised << kNotInView;
    }
}

// A kill announcement and, in the same second, the realm points it earns.
void Generator::realm_kill(const Foe& foe, std::string_view zone) {
    if (rng_.percent(60)) {
        say(LineKind::kKillsAndDeaths) << kYouKilled << foe.name << " !";
        say(LineKind::kKillsAndDeaths) << foe.name << kJustDied;
    } else {
        say(LineKind::kKillsAndDeaths) << foe.name << kWasKilledIn << zone << kKilledBy
                                       << allies_[rng_.below(allies_.size())] << " !";
    }
    int& awards = realmAwards_[static_cast<std::size_t>(currentPart_)];
    if (!options_.unbounded && awards >= options_.realmAwardBudget) return;
    ++awards;
    const int points = rng_.percent(5) ? rng_.between(1000, 3500) : rng_.between(1, 900);
    say(LineKind::kRealmPoints) << kRealmPoints << Grouped{points} << (points == 1 ? std::string_view(kRealmPointEnd) : kRealmPointsEnd);
    if (rng_.percent(25)) {
        say(LineKind::kRealmPoints) << kRealmPoints << static_cast<long long>(rng_.between(10, 150))
                                    << kExtraRealmPoints;
    }
    if (rng_.percent(15)) {
        const int bounty = rng_.between(1, 40);
        say(LineKind::kRealmPoints) << kRealmPoints << static_cast<long long>(bounty)
                                    << (bounty == 1 ? std::string_view(kBountyOne) : kBounty);
    }
    if (rng_.percent(60)) {
        say(LineKind::kExperience) << kExperience << Grouped{rng_.between(200, 90000)} << kExperiencePoints;
    }
}

void Generator::player_death(std::string_view killer, std::string_view zone) {
    say(LineKind::kKillsAndDeaths) << player_ << kWasKilledIn << zone << kKilledBy << killer << " !";
    say(LineKind::kKillsAndDeaths) << kDeathForRealm;
    tick(20, 90);
    say(LineKind::kOther) << kRaised << allies_[rng_.below(allies_.size())] << ".";
}

void Generator::siege() {
    const std::string_view target = siegeTargets_[rng_.below(siegeTargets_.size())];
    const Foe foe{target, target, 10, -1};
    for (int round = rng_.between(2, 6); round > 0 && !done(); --round) {
        tick(3, 5);
        weapon_hit(foe, mainWeapon_);
    }
    if (rng_.percent(50)) {
        tick(5, 20);
        say(LineKind::kShot) << (rng_.percent(70) ? std::string_view(kTrebuchet) : kCatapult);
    }
}

void Generator::duel() {
    const Foe foe = enemy_foe();
    say(LineKind::kOther) << kDuelAccepted << foe.name << ".";
    melee_fight(foe, true);
    tick(1, 3);
    say(LineKind::kKillsAndDeaths) << kDuelOver;
    if (rng_.percent(50)) say(LineKind::kKillsAndDeaths) << kDeathForRealm;  // the duel was lost
}

void Generator::incoming_barrage() {
    const Foe foe = enemy_foe();
    for (int attack = rng_.between(3, 8); attack > 0 && !done(); --attack) {
        tick(1, 3);
        player_attacks(foe);
    }
    if (rng_.percent(10)) player_death(foe.name, zones_[rng_.below(zones_.size())]);
}

void Generator::hunt_rewards(const Foe& foe) {
    tick(0, 2);
    say(LineKind::kMonsterDeath) << foe.capitalised << kDies;
    if (rng_.percent(95)) {
        auto line = say(LineKind::kExperience);
        line << kExperience << Grouped{rng_.between(40, 160) * foe.strength * foe.strength * 6} << kExperiencePoints;
        if (rng_.percent(30)) line << kCampBonus << Grouped{rng_.between(20, 2500)} << ")";
        if (rng_.percent(25)) line << kGroupBonus << Grouped{rng_.between(50, 4000)} << ")";
        if (rng_.percent(10)) line << kStrongBonus << Grouped{rng_.between(10, 900)} << ")";
    }
    // each monster leaves things of its own
    const int loot_lines = rng_.percent(55) ? rng_.between(1, 2) : 0;
    for (int i = 0; i < loot_lines; ++i) {
        if (rng_.percent(15)) {
            const int counted = (foe.monster + i) % countedLoot_.size();
            say(LineKind::kLoot) << foe.capitalised << kLeaves << static_cast<long long>(rng_.between(2, 4))
                                 << countedLoot_[counted] << ".";
        } else {
            const int loot = (foe.monster * 7 + rng_.below(8) * 11) % lootNames_.size();
            say(LineKind::kLoot) << foe.capitalised << kLeaves << lootNames_[loot] << ".";
            if (rng_.percent(60)) say(LineKind::kMoney) << kPickUp << lootNames_[loot] << ".";
        }
    }
    if (rng_.percent(70)) {
        const int copper = rng_.between(1, 400) * foe.strength * foe.strength;
        auto line = say(LineKind::kMoney);
        line << (rng_.percent(25) ? std::string_view(kLootShare) : kPickUp);
        coins(line, copper);
        line << ".";
    }
}

// "2 pièces d'or, 15 pièces d'argent et 30 pièces de cuivre"
void Generator::coins(LineOut& line, int copper) {
    const int amounts[3] = {copper / 10000, copper / 100 % 100, copper % 100};
    const std::string_view plural[3] = {kGold, kSilver, kCopper};
    const std::string_view singular[3] = {kGoldOne, kSilverOne, kCopperOne};
    int remaining = (amounts[0] > 0) + (amounts[1] > 0) + (amounts[2] > 0);
    bool first = true;
    for (int unit = 0; unit < 3; ++unit) {
        if (amounts[unit] == 0) continue;
        if (!first) line << (remaining == 1 ? " et " : ", ");
        line << static_cast<long long>(amounts[unit]) << (amounts[unit] == 1 ? singular[unit] : plural[unit]);
        first = false;
        --remaining;
    }
}

void Generator::crafting_session() {
    const int item_index = rng_.below(craftItems_.size());
    const std::string_view item = craftItems_[item_index];
    say(LineKind::kCrafting) << kCraftStart << item << ".";
    for (int attempt = rng_.between(2, 12); attempt > 0 && !done(); --attempt) {
        tick(6, 14);
        if (rng_.percent(10)) say(LineKind::kOther) << kKeepWorking;
        const int result = rng_.below(100);
        if (result < 78) {
            const int quality = rng_.percent(90) ? rng_.between(94, 100) : rng_.between(70, 93);
            say(LineKind::kCrafting) << kCraftSuccess << item << kCraftQuality << static_cast<long long>(quality) << "%.";
        } else if (result < 90) {
            say(LineKind::kCrafting) << kCraftFail << item << kCraftNoLoss;
        } else {
            say(LineKind::kCrafting) << kCraftFail << item << kCraftLoss;
        }
        if (rng_.percent(25)) {
            // every item trains one or two of the crafts
            const int skill = (item_index + (rng_.percent(70) ? 0 : 3)) % craftSkills_.size();
            say(LineKind::kCrafting) << kSkillGain << craftSkills_[skill] << " !";
        }
        if (rng_.percent(4)) say(LineKind::kCrafting) << kCraftStart << item << ".";
    }
}

void Generator::chat_burst() {
    for (int message = rng_.between(1, 4); message > 0 && !done() && may_store_line(); --message) {
        tick(0, 20);
        const std::string_view speaker = allies_[rng_.below(allies_.size())];
        const std::string_view text = chatMessages_[rng_.below(chatMessages_.size())];
        switch (rng_.below(10)) {
            case 0: say(LineKind::kChat) << kGuildChat << speaker << kSaysQuoted << text << "\""; break;
            case 1: say(LineKind::kChat) << kFriendsChat << speaker << kSaysQuoted << text << "\""; break;
            case 2:
            case 3: say(LineKind::kChat) << kGroupChat << speaker << kSaysQuoted << text << "\""; break;
            case 4: say(LineKind::kChat) << "@@" << speaker << kSendsTo << text << "\""; break;
            case 5: say(LineKind::kChat) << kYouSend << text << kTo << speaker; break;
            case 6: say(LineKind::kChat) << kAllianceChat << speaker << kSaysQuoted << text << "\""; break;
            case 7: say(LineKind::kChat) << "@@" << speaker << kSays << text << "\""; break;
            case 8: say(LineKind::kChat) << kYouSay << text << "\""; break;
            default: say(LineKind::kChat) << "@@" << speaker << ": **" << text << "**"; break;
        }
        ++stored_;
    }
}

void Generator::other_lines() {
    const int roll = rng_.below(100);
    if (roll < 8) {
        say(LineKind::kOther) << allies_[rng_.below(allies_.size())] << kJoinsGroup;
    } else if (roll < 12) {
        say(LineKind::kStyle) << kNoTarget;
    } else if (roll < 30) {
        say(LineKind::kTarget) << kTarget << monster_foe().name << "].";
    } else {
        for (int line = rng_.between(1, 3); line > 0; --line) {
            say(LineKind::kOther) << otherLines_[rng_.below(otherLines_.size())];
            tick(1, 30);
        }
    }
}

}  // namespace

std::string_view kind_name(LineKind kind) {
    static constexpr std::string_view kNames[] = {
        "melee_hit", "style",    "melee_miss", "critical",     "proc",          "damage_over_time", "shot",
        "spell_cast", "spell_result", "heal",   "monster_attack", "avoidance",   "received_damage",  "monster_death",
        "experience", "money",    "loot",       "realm_points", "kills_and_deaths", "crafting",       "target",
        "other",      "chat",     "log_session", "part_command"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(LineKind::kCount));
    return kNames[static_cast<std::size_t>(kind)];
}

void generate_log(const Options& options, const std::function<void(LineKind, std::string_view)>& sink) {
    Generator(options, sink).run();
}

std::string generate_log_text(const Options& options) {
    std::string text;
    text.reserve(static_cast<std::size_t>(options.lines) * 80);
    generate_log(options, [&text](LineKind, std::string_view line) { text.append(line); });
    return text;
}

}  // namespace korvanel::loggen
