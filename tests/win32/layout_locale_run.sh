#!/bin/sh
# Runs the locale layout test once per system language: Wine takes the
# system locale from LC_ALL when a process starts, so each locale needs a
# start of its own. Usage: layout_locale_run.sh <wine-run.sh> <test exe>
set -u
wine_run=$1
exe=$2
status=0
for pair in zh_TW.UTF-8:ChineseT zh_CN.UTF-8:ChineseS en_US.UTF-8:English ja_JP.UTF-8:Japanese; do
  locale=${pair%%:*}
  language=${pair#*:}
  echo "== LC_ALL=$locale, expecting [$language]"
  if ! LC_ALL=$locale CPK_EXPECTED_LANGUAGE=$language "$wine_run" "$exe"; then
    status=1
  fi
done
exit $status
