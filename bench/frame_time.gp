# Frame time over the scripted session, one panel per program: every frame as a grey dot and the
# mean of each second as a line. Call with -e "dir='DIR'; out='FILE.png'"; DIR holds
# PROGRAM.dat (seconds, milliseconds of each frame) and PROGRAM.mean (seconds, mean milliseconds).
set terminal pngcairo noenhanced size 1200,800 font ",10"
set output out
set multiplot layout 2,2 title "Frame time over the scripted session, 640 × 480, Mesa llvmpipe in Xvfb"
set xlabel "session time (s)"
set ylabel "frame time (ms)"
set grid
set key top left
set yrange [0:*<250]  # milliseconds; the rare longer frames (start-up, full-screen switch) run off the top
programs = "sculpt_lines sculpt_grey sculpt_glow sculpt_bands"
do for [p in programs] {
  set title p
  plot dir."/".p.".dat" using 1:2 with points pt 7 ps 0.25 lc rgb "#b0b0b0" title "each frame", \
       dir."/".p.".mean" using 1:2 with lines lw 2 lc rgb "#1060c0" title "mean per second"
}
unset multiplot
