# The first part uses one weapon; the second part 21 different weapons, one
# more than a page once showed: both pages show every weapon.
printf '[10:00:00] Vous attaquez Gorm avec votre \xe9p\xe9e, vous infligez 50 (+4) points de d\xe9g\xe2ts !\n'
printf '[10:00:05] [TOUS]:  ]log name Arsenal\n'
for i in $(seq -w 0 20); do
    printf '[10:01:%s] Vous attaquez Gorm avec votre arme %s, vous infligez 10 points de d\xe9g\xe2ts !\n' "$i" "$i"
done
