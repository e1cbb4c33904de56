# 201 different items: the 201st does not fit in the craft table.
for i in $(seq -w 0 200); do printf '[10:00:00] Vous commencez le travail sur objet %s.\n' "$i"; done
