# 501 different monsters die: the last one does not fit in the monster table.
for i in $(seq 0 500); do printf '[21:00:00] monstre %d meurt !\n' "$i"; done
