#!/bin/sh
# The Linux build and the Windows build (under Wine) give the same bytes: the README route's
# element table and stake table, a console session's export under a Chinese file name, and the
# stakes of a LandXML file (the Linux build's own --landxml of the route, declared GBK) and a fault in it.
# Usage: same_bytes_as_linux.sh LINUX_HCURVE WINDOWS_HCURVE SCRATCH_FOLDER
linux=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
windows=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
scratch=$3
rm -rf "$scratch" && mkdir -p "$scratch/linux" "$scratch/windows" && cd "$scratch" || exit 2

printf '点号,X,Y,R,A1,A2,桩号\nBP,3456088.2656,511632.3766,,,,K11+345.678\nJD1,3456789.1230,512345.6780,500,200,250,\nJD2,3457084.2532,513508.8195,800,300,300,\nEP,3457814.5550,514034.8035,,,,\n\n断链前桩号,断链后桩号\nK12+800,K12+780\n' > route.csv
design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'
{
    printf "${design}"'2\n2\n12100\n12600\n20\n'
    yes '' | head -n 100
    printf '6\n%s\n3\n' "成果/中桩坐标.csv"
} > session.txt

# The route as LandXML, its prolog declaring GBK (its text is ASCII, the same in either encoding).
"$linux" route route.csv --landxml small_utf8.xml || exit 2
sed '1s/UTF-8/GBK/' small_utf8.xml > small.xml

failures=0
for system in linux windows; do
    eval program=\$$system
    mkdir -p $system/成果
    (
        cd $system &&
        "$program" route ../route.csv --elements > elements.csv &&
        "$program" route ../route.csv --stakes --interval 20 --from K12+500 --to K12+820 \
            --left 5 --right 5 > stakes.csv &&
        "$program" --console < ../session.txt > console.txt &&
        "$program" route ../small.xml --stakes --interval 20 --left 5 --right 5 > xml_stakes.csv &&
        { "$program" route ../small.xml --alignment 乙线 --stakes > /dev/null 2> xml_fault.txt
          [ $? = 1 ]; }
    ) || { echo "FAIL $system: status $?"; failures=$((failures + 1)); }
done
for file in elements.csv stakes.csv console.txt 成果/中桩坐标.csv xml_stakes.csv xml_fault.txt; do
    if cmp -s "linux/$file" "windows/$file" && [ -s "linux/$file" ]; then
        echo "byte-identical on Linux and Windows: $file ($(wc -c < "linux/$file") bytes)"
    else
        echo "FAIL $file differs"; failures=$((failures + 1))
    fi
done
exit "$failures"
