#!/usr/bin/env bash
# Opens the pages of two runs in a real browser (Debian's chromium, headless,
# driven through its own --dump-dom and --screenshot options):
#   - the sample log (examples/chat.log);
#   - a log whose names and chat are full of markup and quotes, cut into
#     parts named with accented letters, "#", "%", "?", "/", ":" and "<",
#     names that differ only in case, and names Windows keeps for devices.
# Checks that every link of every page (summary links, "Sommaire" and
# "retour sommaire" back links, the transcript's channel links) leads to a
# page and an anchor that exist, that nothing from the log runs or changes
# the page title, and that the pages decode as ISO-8859-1. On the charts
# pages of these and of a log cut into parts across midnight, that both
# charts of every part are drawn and that their tooltips add up to the
# part's summary (tests/browser/charts.html).
#   tests/browser/run_browser_test.sh [path to korvanel] [screenshot.png] [charts.png] [graphiques.html]
# With a second argument, a screenshot of the sample's analysis page is
# written there (the README's picture is docs/sample.png); with a third, one
# of the first section of the sample's charts page (docs/charts.png); a
# fourth names one more charts page to check and time (a benchmark log's).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bin=$(realpath "${1:-$root/build/release/korvanel}")
shot=${2:-}
charts_shot=${3:-}
extra_charts=${4:+$(realpath "$4")}
[ -x "$bin" ] || { echo "FAIL: no program at $bin"; exit 1; }
command -v chromium >/dev/null || { echo "FAIL: chromium is missing"; exit 1; }

scratch=$(mktemp -d)
[ -n "${KEEP_SCRATCH:-}" ] && echo "scratch: $scratch" || trap 'rm -rf "$scratch"' EXIT
failures=0
passed=0
fail() { echo "FAIL: $current: $*"; failures=$((failures + 1)); case_ok=0; }
start_case() { current=$1; case_ok=1; }
end_case() { [ "$case_ok" = 1 ] && { echo "ok: $current"; passed=$((passed + 1)); }; }

browser() {  # extra options...
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --disable-background-networking --no-first-run \
        --disable-component-update --disable-sync --user-data-dir="$(mktemp -d "$scratch/profile.XXXX")" \
        "$@" 2>> "$scratch/browser.err"
}
# The page as the browser holds it once its scripts (if any) had 3 s to run.
dump() { browser --virtual-time-budget=3000 --dump-dom "file://$(url_path "$1")"; }
url_path() { printf '%s' "$1" | sed -e 's/%/%25/g' -e 's/#/%23/g' -e 's/?/%3F/g' -e 's/ /%20/g'; }

run_korvanel() {  # directory
    (cd "$1" && LC_ALL=C timeout 120 "$bin" < /dev/null > console.out 2>&1)
}

# The hostile log: markup and quotes in every kind of name and in every chat
# channel, each trying to change the page title; parts named with accents,
# URL syntax, characters some systems refuse in file names, names that
# differ only in case and device names.
script="<script>with(document)title='pwned'</script>"
image="<img src=x onerror=with(document)title='pwned'>"
mkdir -p "$scratch/hostile"
iconv -f UTF-8 -t ISO-8859-1 > "$scratch/hostile/chat.log" <<EOF
*** Journal ouvert : Mon Jan 03 12:34:56 2005
[21:00:00] Vous visez [<b>Brennos</b>].
[21:00:01] Vous attaquez <b>Brennos</b> avec votre $script, vous infligez 64 (+5) points de dégâts !
[21:00:02] Vous exécutez parfaitement votre $image ! (+12)
[21:00:03] Vous attaquez <b>Brennos</b> avec votre $script, vous infligez 70 (+5) points de dégâts !
[21:00:05] Vous lancez le sort $image !
[21:00:05] Vous frappez et infligez 148 (+11) points de dégâts au loup !
[21:00:10] $image meurt !
[21:00:10] Vous recevez 1.234 points d'expérience.
[21:00:11] Le loup laisse <i onmouseover=alert(1)>dague</i>.
[21:00:11] Vous ramassez 2 pièces d'or, 15 pièces d'argent et 30 pièces de cuivre.
[21:01:00] Gorm vient juste d'être tué dans [Emain] par $script !
[21:01:05] Vous êtes mort pour le royaume.
[21:02:00] Vous venez de tuer <u>Tuk</u>.
[21:02:01] $script vient de mourir.
[21:02:01] Vous gagnez 120 realm points!
[21:03:00] Vous commencez le travail sur $script.
[21:03:05] Vous avez réussi votre confection. Vous avez désormais 99% de qualité.
[21:03:05] Vous devenez plus doué en $image!
[21:04:00] [TOUS]:  ]log name l'élémentaire de feu #2
[21:04:01] Vous attaquez l'élémentaire avec votre épée de <b>feu</b>, vous infligez 41 points de dégâts !
[21:04:02] Vous attaquez l'élémentaire avec votre épée de <b>feu</b>, vous infligez 45 points de dégâts !
[21:05:00] [TOUS]:  ]log name <b onclick=alert(1)>x</b> 50% ?
[21:05:01] Vous attaquez Tuk avec votre $image, vous infligez 10 points de dégâts !
[21:05:02] Vous lancez le sort Soin <b>majeur</b> !
[21:06:00] @@[Guilde] <b>Gorm</b> : "$script"
[21:06:01] @@[Discussion] $image : "a & b <i>c</i>"
[21:06:02] @@[Groupe] Tuk : "$script"
[21:06:03] @@<b>Gorm</b> envoie, "$script"
[21:06:04] @@Vous envoyez, "$image" à <i>Tuk</i>
[21:06:05] @@[Alliance] Brennos : "$image"
[21:06:06] @@<b>Gorm</b> dit, "$script"
[21:06:07] @@<u>Sla</u>: **$script**
[21:06:10] [TOUS]:  ]log name Boss: phase 2?
[21:06:11] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:06:12] [TOUS]:  ]log name boss: PHASE 2?
[21:06:13] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:06:14] [TOUS]:  ]log name Discussions
[21:06:15] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:06:16] [TOUS]:  ]log name con
[21:06:17] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:06:18] [TOUS]:  ]log name Épée
[21:06:19] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:06:20] [TOUS]:  ]log name éPÉE
[21:06:21] Vous attaquez le sanglier avec votre épée longue, et infligez 40 points de dégâts !
[21:07:00] [TOUS]:  ]log ini
EOF
mkdir -p "$scratch/sample" "$scratch/midnight"
cp "$root/examples/chat.log" "$scratch/sample/chat.log"
cp "$root/tests/e2e/cases/charts_parts_midnight/chat.log" "$scratch/midnight/chat.log"

start_case "the runs end normally"
for run in sample hostile midnight; do
    run_korvanel "$scratch/$run" || fail "$run: exit status $?: $(tail -c 300 "$scratch/$run/console.out")"
done
end_case

# Pages as the file names on disk (UTF-8), one per line.
pages_of() { (cd "$1" && find . -maxdepth 1 -name '*.html' -printf '%f\n' | LC_ALL=C sort); }

start_case "the part pages carry the names of their parts"
hostile_pages=$(pages_of "$scratch/hostile")
for page in "l'élémentaire de feu #2.html" "_b onclick=alert(1)_x__b_ 50% _.html" "Boss_ phase 2_.html" \
    "boss_ PHASE 2__.html" Discussions_.html con_.html Épée.html éPÉE_.html Resultats.html discussions.html; do
    printf '%s\n' "$hostile_pages" | grep -qxF -- "$page" || fail "no page file '$page' among: $hostile_pages"
done
end_case

start_case "pages decode as ISO-8859-1 and nothing from the log runs"
check_page() {  # page path, expected title, words that must show
    local page=$1 title=$2 dom
    shift 2
    dom=$(dump "$page")
    [ -n "$dom" ] || { fail "$(basename "$page"): the browser gave no page"; return; }
    printf '%s' "$dom" | grep -qF "<title>$title</title>" || fail "$(basename "$page"): title changed: $(printf '%s' "$dom" | grep -o '<title>[^<]*</title>')"
    printf '%s' "$dom" | grep -q 'pwned</title>' && fail "$(basename "$page"): a script from the log ran"
    printf '%s' "$dom" | grep -qi '<script' && fail "$(basename "$page"): a script element in the page"
    printf '%s' "$dom" | grep -qE '<[a-z]+[^>]* on[a-z]+=' && fail "$(basename "$page"): an event handler in the page"
    printf '%s' "$dom" | grep -q $'\xc3\x83\|\xef\xbf\xbd' && fail "$(basename "$page"): letters decoded wrongly"
    local word
    for word in "$@"; do
        printf '%s' "$dom" | grep -qF -- "$word" || fail "$(basename "$page"): '$word' not shown"
    done
}
check_page "$scratch/sample/Resultats.html" "Analyse du fichier chat.log" "Coups réussis"
check_page "$scratch/sample/discussions.html" "Discussions du fichier chat.log" "Messages privés" "Chat Général" "Chat Région"
escaped_script="&lt;script&gt;with(document)title='pwned'&lt;/script&gt;"
escaped_image="&lt;img src=x onerror=with(document)title='pwned'&gt;"
check_page "$scratch/hostile/Resultats.html" "Analyse du fichier chat.log" \
    "Avec l'arme : $escaped_script" "$escaped_image(+12)" "$escaped_image" "Liste de vos meurtriers" \
    "<b>$escaped_script</b> (120 rps)" "1 * &lt;i onmouseover=alert(1)&gt;dague&lt;/i&gt;" "Points d'expérience"
check_page "$scratch/hostile/discussions.html" "Discussions du fichier chat.log" \
    "<b>&lt;b&gt;Gorm&lt;/b&gt;</b> : $escaped_script" "a &amp; b &lt;i&gt;c&lt;/i&gt;" \
    "<b>Vous à &lt;i&gt;Tuk&lt;/i&gt;" "lundi 03 Jan 2005 - 12:34:56"
check_page "$scratch/hostile/l'élémentaire de feu #2.html" "Analyse du fichier chat.log" \
    "Avec l'arme : épée de &lt;b&gt;feu&lt;/b&gt;"
end_case

# Every link followed in the browser, from a checking page beside the runs.
{
    echo "var PAGES = ["
    for run in sample hostile midnight; do
        printf '  {base: "file://%s/", files: [' "$scratch/$run"
        pages_of "$scratch/$run" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g' -e 's/.*/"&",/' | tr -d '\n'
        echo "]},"
    done
    echo "];"
} > "$scratch/pages.js"
cp "$here/links.html" "$scratch/links.html"
browser --allow-file-access-from-files --virtual-time-budget=60000 --dump-dom "file://$scratch/links.html" \
    | sed -n '/<pre id="report">/,/<\/pre>/p' \
    | sed -e 's/<pre id="report">//' -e 's/<\/pre>//' -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e 's/&amp;/\&/g' \
    > "$scratch/links.txt"

start_case "the checking page followed every link"
grep -q '^DONE$' "$scratch/links.txt" || fail "the link check did not finish: $(tail -n 3 "$scratch/links.txt")"
grep '^ERROR' "$scratch/links.txt" && fail "the link check broke"
grep 'unreadable' "$scratch/links.txt" && fail "a page could not be opened"
end_case

start_case "pages loaded in the browser keep their titles and run nothing"
while IFS= read -r line; do
    case "$line" in
        *"charset=windows-1252 scripts=0 handlers=0 title=Analyse du fichier chat.log") ;;
        *"discussions.html charset=windows-1252 scripts=0 handlers=0 title=Discussions du fichier chat.log") ;;
        *"graphiques.html charset=windows-1252 scripts=0 handlers=0 title=Graphiques du fichier chat.log") ;;
        *) fail "$line" ;;
    esac
done < <(grep '^PAGE ' "$scratch/links.txt")
[ "$(grep -c '^PAGE ' "$scratch/links.txt")" -ge 9 ] || fail "too few pages checked"
end_case

start_case "every summary and back link of the analysis pages reaches its anchor"
grep '^LINK ' "$scratch/links.txt" | grep -v ' discussions.html | ' | grep -v '^LINK ok ' | while IFS= read -r line; do
    echo "FAIL: $current: $line"
done | grep -q . && { failures=$((failures + 1)); case_ok=0; grep '^LINK ' "$scratch/links.txt" | grep -v ' discussions.html | ' | grep -v '^LINK ok '; }
for anchor in Attaques Sorts Meurtriers "Tableau%20de%20chasse" XP Artisanat Sommaire; do
    grep -q "^LINK ok Resultats.html | .* | file://$scratch/hostile/Resultats.html#$anchor\$" "$scratch/links.txt" \
        || fail "no working link to #$anchor on the hostile page"
done
# The parts named with accents, "#", "%", "?", "/" and "<" are reached by their own links.
grep -qF "LINK ok l'élémentaire de feu #2.html | Attaques | file://$scratch/hostile/l'%C3%A9l%C3%A9mentaire%20de%20feu%20%232.html#Attaques" \
    "$scratch/links.txt" || fail "the accented part's page is not reached by its summary link"
grep -qF "LINK ok l'élémentaire de feu #2.html | Sommaire | file://$scratch/hostile/l'%C3%A9l%C3%A9mentaire%20de%20feu%20%232.html#Sommaire" \
    "$scratch/links.txt" || fail "the accented part's page is not reached by its back link"
grep -qF "LINK ok _b onclick=alert(1)_x__b_ 50% _.html | Sorts non offensifs | file://$scratch/hostile/_b%20onclick=alert(1)_x__b_%2050%25%20_.html#SortsNO" \
    "$scratch/links.txt" || fail "the part named with markup and URL syntax is not reached by its links"
# Parts whose names differ only in case, or name a device, each reach their own page.
for page in "Boss_ phase 2_|Boss_%20phase%202_" "boss_ PHASE 2__|boss_%20PHASE%202__" "Discussions_|Discussions_" "con_|con_" \
    "Épée|%C3%89p%C3%A9e" "éPÉE_|%C3%A9P%C3%89E_"; do
    for anchor in Attaques Sommaire; do
        grep -qF "LINK ok ${page%|*}.html | $anchor | file://$scratch/hostile/${page#*|}.html#$anchor" "$scratch/links.txt" \
            || fail "the part page ${page%|*}.html is not reached by its $anchor link"
    done
done
end_case

start_case "the charts pages' links and the analysis pages' links to their sections work"
for run in sample hostile midnight; do
    parts=$(grep -o '<a name="partie' "$scratch/$run/graphiques.html" | wc -l)
    for i in $(seq 0 $((parts - 1))); do
        grep -q "^LINK ok .* | Graphiques | file://$scratch/$run/graphiques.html#partie$i\$" "$scratch/links.txt" \
            || fail "$run: no analysis page reaches section $i of the charts page"
    done
    # discussions.html, then each part's page from the top line and from its section
    links=$(grep -o '<a href=' "$scratch/$run/graphiques.html" | wc -l)
    [ "$links" = $((1 + 2 * parts)) ] || fail "$run: $links links on the charts page for $parts parts"
done
[ "$(grep -c "^LINK ok graphiques.html | " "$scratch/links.txt")" = "$(grep -c "^LINK [a-z]* graphiques.html | " "$scratch/links.txt")" ] \
    || fail "a link of a charts page leads nowhere"
end_case

# Both charts of every section drawn, their tooltips against the summary.
{
    echo "var CHARTS = ["
    for run in sample hostile midnight; do printf '  "file://%s/graphiques.html",\n' "$(url_path "$scratch/$run")"; done
    [ -n "$extra_charts" ] && printf '  "file://%s",\n' "$(url_path "$extra_charts")"
    echo "];"
} > "$scratch/charts.js"
cp "$here/charts.html" "$scratch/charts.html"
browser --allow-file-access-from-files --virtual-time-budget=60000 --dump-dom "file://$scratch/charts.html" \
    | sed -n '/<pre id="report">/,/<\/pre>/p' | sed -e 's/<pre id="report">//' -e 's/<\/pre>//' -e 's/&amp;/\&/g' \
    > "$scratch/charts.txt"

start_case "every chart is drawn and its tooltips add up to its part's summary"
grep -q '^DONE$' "$scratch/charts.txt" || fail "the charts check did not finish: $(tail -n 3 "$scratch/charts.txt")"
grep '^ERROR' "$scratch/charts.txt" && fail "the charts check broke"
grep '^SECTION BAD' "$scratch/charts.txt" | while IFS= read -r line; do echo "FAIL: $current: $line"; done
grep -q '^SECTION BAD' "$scratch/charts.txt" && fail "a section is wrong"
for run in sample hostile midnight; do
    parts=$(grep -o '<a name="partie' "$scratch/$run/graphiques.html" | wc -l)
    [ "$(grep -c "^SECTION ok $run/graphiques.html " "$scratch/charts.txt")" = "$parts" ] || fail "$run: not every section checked"
done
# the multi-part log across midnight: three parts, the first and the second with fights
grep -q "^SECTION ok midnight/graphiques.html 1 [1-9]" "$scratch/charts.txt" || fail "the part across midnight has no columns"
end_case

# How long the browser takes to open a charts page and lay it out, against an empty page.
if [ -n "$extra_charts" ]; then
    echo "<html><body></body></html>" > "$scratch/empty.html"
    for page in "$scratch/empty.html" "$extra_charts"; do
        begin=$(date +%s%N)
        dump "$page" > /dev/null
        echo "  $(basename "$page") ($(stat -c %s "$page") bytes) opened in $((($(date +%s%N) - begin) / 1000000)) ms, browser start included"
    done
fi

start_case "the transcript's links reach their anchors"
# All seven channels hold a message in the hostile log: every link works.
[ "$(grep -c "^LINK ok discussions.html | .* | file://$scratch/hostile/discussions.html#balise[0-6]\$" "$scratch/links.txt")" = 7 ] \
    || fail "not every channel link of the hostile transcript works"
[ "$(grep -c "^LINK ok discussions.html | retour sommaire | file://$scratch/hostile/discussions.html#sommaire\$" "$scratch/links.txt")" = 7 ] \
    || fail "not every 'retour sommaire' link of the hostile transcript works"
# The sample's channel links stand for every channel, with or without messages;
# every heading's "retour sommaire" link works.
[ "$(grep -c "^LINK [a-z]* discussions.html | .* | file://$scratch/sample/discussions.html#balise[0-6]\$" "$scratch/links.txt")" = 7 ] \
    || fail "the sample transcript does not link the seven channels"
headings=$(grep -o '<a name="balise[0-6]">' "$scratch/sample/discussions.html" | wc -l)
[ "$(grep -c "^LINK ok discussions.html | .* | file://$scratch/sample/discussions.html#balise[0-6]\$" "$scratch/links.txt")" = "$headings" ] \
    || fail "a channel link with messages does not reach its heading"
[ "$(grep -c "^LINK ok discussions.html | retour sommaire | file://$scratch/sample/discussions.html#sommaire\$" "$scratch/links.txt")" = "$headings" ] \
    || fail "a 'retour sommaire' link of the sample transcript does not work"
grep '^LINK ' "$scratch/links.txt" | grep ' discussions.html | ' | grep -v '#balise[0-6]$' | grep -v '^LINK ok ' \
    && fail "a link of a transcript leads nowhere"
end_case

start_case "screenshot of the sample's analysis page"
target=${shot:-$scratch/sample.png}
browser --hide-scrollbars --window-size=1100,1400 --screenshot="$target" "file://$scratch/sample/Resultats.html" > /dev/null
[ "$(head -c 8 "$target" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG written"
[ "$(stat -c %s "$target" 2>/dev/null || echo 0)" -gt 10000 ] || fail "the screenshot is nearly empty"
end_case

if [ -n "$charts_shot" ]; then
    start_case "screenshot of the first section of the sample's charts page"
    browser --hide-scrollbars --window-size=1100,1000 --screenshot="$charts_shot" "file://$scratch/sample/graphiques.html" > /dev/null
    [ "$(stat -c %s "$charts_shot" 2>/dev/null || echo 0)" -gt 10000 ] || fail "the screenshot is nearly empty"
    end_case
fi

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
