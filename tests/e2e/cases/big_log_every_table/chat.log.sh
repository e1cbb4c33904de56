# A log that passes at once, by a few entries, every size the tables once
# had: 30,010 chat lines, 81 spells, 106 weapon slots in 21 weapon groups,
# 106 style links, 5,010 hits of one weapon, 501 monsters, 101 loots of one
# monster, 201 crafted items, 11 skills of one item, 1,001 killers and
# 5,001 realm-point awards. Every entry shows on the pages.
printf '*** Journal ouvert : Mon Jan 03 20:00:00 2005\n'
yes '[20:00:00] @@[Guilde] Gorm : "salut"' | head -n 30009
printf '[20:00:01] @@[Groupe] Tuk : "le dernier"\n'
for i in $(seq -w 0 80); do printf '[20:01:%02d] Vous lancez le sort Sort %s !\n' $((10#$i % 60)) "$i"; done
# Every hit in a second of its own, so that none is an extra blow; names
# without digits, as the damage is the first number of the line.
t=$((20 * 3600 + 2 * 60))
next_stamp() { printf -v stamp '[%02d:%02d:%02d]' $((t / 3600)) $((t / 60 % 60)) $((t % 60)); t=$((t + 1)); }
for w in A B C D E F G H I J K L M N O P Q R S T U; do
    for s in a b c d e; do
        next_stamp
        printf '%s Vous ex\xe9cutez parfaitement votre Taille %s%s ! (+12)\n' "$stamp" "$w" "$s"
        next_stamp
        printf '%s Vous attaquez Gorm avec votre arme %s, et lui infligez 100 points de d\xe9g\xe2ts !\n' "$stamp" "$w"
    done
done
for i in $(seq 0 5009); do
    next_stamp
    printf '%s Vous attaquez Gorm avec votre arme A, et lui infligez %d points de d\xe9g\xe2ts !\n' "$stamp" $((40 + i % 21))
done
for i in $(seq -w 0 500); do
    printf '[22:04:00] monstre %s meurt !\n' "$i"
    printf "[22:04:00] Vous recevez 10 points d'exp\xe9rience.\n"
done
for i in $(seq -w 0 100); do printf '[22:04:01] Le monstre 500 laisse objet %s.\n' "$i"; done
for i in $(seq -w 0 200); do printf '[22:05:00] Vous commencez le travail sur objet %s.\n' "$i"; done
for i in $(seq -w 0 10); do printf '[22:05:01] Vous devenez plus dou\xe9 en savoir %s!\n' "$i"; done
printf '[22:05:02] Vous avez r\xe9ussi votre confection. Vous avez d\xe9sormais 99%% de qualit\xe9.\n'
for i in $(seq -w 0 1000); do
    printf "[22:06:00] Moi vient juste d'\xeatre tu\xe9 dans [Emain] par tueur %s !\n" "$i"
    printf '[22:06:00] Vous \xeates mort pour le royaume.\n'
done
for i in $(seq -w 0 5000); do
    printf '[22:07:00] ennemi %s vient de mourir.\n' "$i"
    printf '[22:07:00] Vous gagnez 10 realm points!\n'
done
printf '[22:07:00] Vous gagnez 4 Primes de Royaume!\n'
printf "[22:07:00] Vous recevez 7 points d'exp\xe9rience.\n"
