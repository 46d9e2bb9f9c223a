#!/usr/bin/perl
# Reads a QIF file with Finance::QIF (a reader that is not ours) and prints its records as one
# JSON array: each record's header and the fields it read (name, type, date, amount, payee,
# memo). Fields are decoded as UTF-8, strictly: bytes that are not end the script with an error.
use strict;
use warnings;
use Encode qw(decode FB_CROAK);
use Finance::QIF;
use JSON::PP;

my $qif = Finance::QIF->new(file => $ARGV[0], record_separator => "\n");
my @records;
while (my $record = $qif->next) {
    my %read = (header => $record->{header});
    for my $field (qw(name type date transaction payee memo)) {
        $read{$field} = decode('UTF-8', $record->{$field}, FB_CROAK)
            if defined $record->{$field};
    }
    push @records, \%read;
}
print JSON::PP->new->utf8->canonical->encode(\@records), "\n";
