# Pages of an earlier run, and a folder where the charts page would go: the
# analysis page and the transcript are written, the charts page fails, and
# the run must leave the earlier pages as they were, with no temporary file
# behind.
printf 'page d une course precedente\n' > Resultats.html
printf 'discussions d une course precedente\n' > discussions.html
mkdir graphiques.html
