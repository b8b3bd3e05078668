#!/usr/bin/env bash
# Fails when a message the programs can show is not explained in the help's
# Troubleshooting page. The messages are the wide string literals of the
# folders below: adjacent literals are joined, the text is cut at line breaks
# and at what is filled in while running ("Could not write " + path + "."
# gives the piece "Could not write"), and each piece of two words or more must
# appear in the page's text. Texts shown in windows rather than in messages
# are listed below as not messages.
#   scripts/check-messages.sh [ROOT]
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"
files=$(git ls-files -co --exclude-standard -- app builder about blocker runtime | grep -E '\.(h|cpp)$')
# shellcheck disable=SC2086
exec perl -CSD -e '
use strict; use warnings;
my @not_messages = (  # texts the windows show, and names that are no sentences
  qr/^Quellanix V\d/, qr/^About Voskrel$/, qr/^Set &Password$/, qr/^Thank you for choosing/,
  qr/^Brindlecor.s Quellanix is designed/, qr/^Warning: \.\.\./, qr/^This software was developed by/,
  qr/whose web site is/, qr/^&/, qr/^SOFTWARE\\/,
  qr/^More Applications$/, qr/^(File name|Renamed copies|not recognised|stopped too)$/,
  qr/^Add (Program|by Name|by &Name\.\.\.)$/, qr/^Other &programs:/, qr/^Ticked programs are blocked/,
  qr/^Programs \(\*\.exe\)/,
);
my $page = shift @ARGV;
local $/;
open my $h, "<", $page or die "$page: $!\n";
my $help = <$h>;
$help =~ s/<[^>]*>/ /g;
my %entity = (lt => "<", gt => ">", amp => "&", quot => "\"", nbsp => " ", apos => "\x27");
$help =~ s/&(\w+);/$entity{$1} \/\/ "&$1;"/ge;
$help =~ s/&#(\d+);/chr($1)/ge;
$help =~ s/\s+/ /g;
my ($pieces, $missing) = (0, 0);
for my $file (@ARGV) {
  open my $f, "<", $file or die "$file: $!\n";
  my $src = <$f>;
  my (@texts, $text, $line);
  # Comments, character literals and string literals, in order; only wide
  # string literals are texts, and those with only blanks between them join.
  while ($src =~ m{\G(.*?)(//[^\n]*|/\*.*?\*/|\x27(?:\\.|[^\x27\\])*\x27|(L?)"((?:\\.|[^"\\])*)")}gs) {
    my ($before, $token, $wide, $body) = ($1, $2, $3, $4);
    my $at = 1 + (substr($src, 0, pos($src) - length $token) =~ tr/\n//);
    if (defined $text && $before !~ /^\s*$/) { push @texts, [$line, $text]; undef $text; }
    next if $token =~ m{^(//|/\*|\x27)};
    if (!$wide) { push @texts, [$line, $text] if defined $text; undef $text; next; }
    $body =~ s/\\(.)/$1 eq "n" ? "\n" : $1 eq "t" ? "\t" : $1/ge;
    if (defined $text) { $text .= $body } else { ($text, $line) = ($body, $at) }
  }
  push @texts, [$line, $text] if defined $text;
  for (@texts) {
    my ($at, $whole) = @$_;
    for my $piece (split /\n+/, $whole) {
      # Quotes and brackets around a part filled in while running belong to it.
      $piece =~ s/\s+/ /g; $piece =~ s/^[\s"(.,;]+|[\s"(]+$//g;
      next unless $piece =~ /[A-Za-z]+ +[A-Za-z]+/;
      next if grep { $piece =~ $_ } @not_messages;
      $pieces++;
      next if index($help, $piece) >= 0;
      print "$file:$at: not in $page: \"$piece\"\n";
      $missing++;
    }
  }
}
print "$page explains all $pieces message texts\n" unless $missing;
exit($missing ? 1 : 0);
' help/troubleshooting.html $files
