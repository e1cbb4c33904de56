# Pages of an earlier run, and a folder where the transcript would go: the
# run fails at the transcript and must leave the earlier page as it was,
# with no temporary file behind.
printf 'page d une course precedente\n' > Resultats.html
mkdir discussions.html
