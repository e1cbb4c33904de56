# 201 different items, one more than the craft table once held: all have a row.
for i in $(seq -w 0 200); do printf '[10:00:00] Vous commencez le travail sur objet %s.\n' "$i"; done
