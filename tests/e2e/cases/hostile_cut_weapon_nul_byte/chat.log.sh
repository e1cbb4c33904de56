# A NUL byte ends the text of its line: the comma after it is never seen.
printf '[10:00:00] Vous attaquez Gorm avec votre \xe9p\xe9e\0, vous infligez 12 points de d\xe9g\xe2ts !\n'
