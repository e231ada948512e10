// The text of the How to Play box: the rules of Casino, its scoring with a
// worked example, how to play the computer game, and hints.
#include "dialogs/boxes.h"

const char kHelpText[] = R"(CASINO

version 2.1
Written by the Casino developers.  Copyright (c) 2026 the Casino developers.
Casino is free software: you may copy it, share it, change it and sell it under the terms of the GNU General Public License, version 3 or (at your option) any later version; the file LICENSE holds its text.  Casino comes with no warranty, to the extent permitted by law.
The card faces are drawn from the "Paris" card deck, which is free software under the GNU General Public License, version 2 or later; the file NOTICE names its authors.


CONTENTS

a. rules of Casino
b. scoring
c. how to play the computer game
d. hints and tips


A. RULES OF CASINO

Casino is a card game for 2, 3 or 4 players, played with a regular deck of 52 cards.  In this version you play against one computer opponent.

The deal.  Each player is dealt 4 cards, and 4 cards are dealt face up on the table; these table cards are called the tableau.  The players then take turns, each playing one card from the hand, until nobody has a card left.  Then each player is dealt 4 more cards, and play goes on.  A round ends when all 52 cards have been dealt and played, four at a time.  Points are counted at the end of every round, and the game ends as soon as a player has reached 21 points, which usually takes three or four rounds.

Your turn.  On each turn you play exactly one card from your hand, in one of four ways: Put, Take, Build or Block.

PUT: you discard the card face up into a free space of the tableau.  If there is no free space, the card goes into your own Capture Pile instead.  A Put is always allowed.

TAKE: you capture table cards with a card from your hand.  A card takes every table card of the same value, regardless of suit, and also any combination of table cards that add up to its value.  Matches and sums can be taken together in the same turn: a 9 can take a 9, a 6 and a 3, and a 5 and a 4 all at once.  The card you play and all the cards it takes go into your Capture Pile.  Taking is the only way to add cards to your Capture Pile, and only the cards in it score.

BUILD: you place a card from your hand on a table card, so that together they add up to the value of another card in your hand.  The build is now one pile, and it can only be taken by a card of that value.  You may only build when you hold a card that can take the new pile.  A build is taken by the card equal to the sum of its cards, and it can be taken together with other cards that add up to the same value.  Any player may extend a build, yours or the opponent's, by adding a card to it, as long as that player holds the card that takes the new total.  A build worth 14 is a build of aces: it can only be taken by an ace and cannot be built any further.

BLOCK: you place a card from your hand on a table card of the same value, to keep that value for yourself.  You may only block when you hold another card of that value.  A block holds cards of one value only and can only be taken by a card of that value: an ace cannot take a 7-7 block, even though 7 and 7 make 14.  A block cannot be taken together with cards of other values, and nobody can build on it.

Card values.  The cards 2 to 10 count their number.  Jacks count 11, queens 12 and kings 13.  Aces count either 14 or 1, whichever suits the move.


B. SCORING

Points come from the cards in your Capture Pile, counted at the end of each round.  Removing all the cards from the tableau in one turn is a sweep, and each sweep scores too.

   Points   For
   1        each ace
   1        the 2 of spades
   2        the 10 of diamonds
   3        twenty-seven or more cards
   1        seven or more spades
   1        each sweep

A worked example.  You hold a 2, another 2, a queen and an ace.  On the table lie the 2 of spades, a 5-7 build (worth 12) and a jack.  These are your choices:

Put: you may put any of the four cards into a free space of the tableau.  This scores nothing and gives your opponent more to take.

Take: a 2 takes the 2 of spades, for 1 point.  The queen (12) takes the 5-7 build, which is worth 12, but those cards score nothing.  The ace, counted as 14, takes the 2 of spades together with the 5-7 build, because 2 and 12 add up to 14.

Build: the queen on the 2 of spades makes 14, a build of aces, which you may make because you hold an ace.  A 2 on the 5-7 build also makes 14, another build of aces.  The ace, counted as 1, on the jack makes 12, a build of queens, which you may make because you hold a queen.  A 2 on the jack would make 13, and you hold no king, so that build is not allowed.

Block: because you hold both 2s, you may put one 2 on the 2 of spades, making a 2-2 block that only a 2 can take.

The best move is to take the 2 of spades and the 5-7 build with the ace: the ace and the 2 of spades are worth 1 point each, so this move wins 2 points, and your opponent cannot take them from you any more.


C. HOW TO  PLAY THE COMPUTER GAME

i. Playing a game

Choose New Game from the File menu to start.  The New Game window lets you enter your name and your opponent's name, choose the design on the back of the cards (with a click, or with the arrow keys once Tab has reached the backs), set the delay (0 is fastest, 9 is slowest) that the computer waits before it shows its move, and switch animation and sound on or off.  During a game, Game Settings in the File menu changes the card back, the speed, the animation and the sound; to change a player's name you must start a new game.

Your cards are at the top left of the window and your opponent's at the top right.  The tableau is in the middle.  Your Capture Pile is at the bottom left, and your opponent's at the bottom right.  Between the two hands is the score breakdown of the current round, with your numbers on the left and your opponent's on the right, and the Hint button above it.  The long grey button "Cards not yet seen" at the bottom of the window shows which cards have not been played yet.  While it is your turn, your name is marked, and the table tells what the last move did.

To play, first click the table cards that your move uses: each one you click is highlighted, and clicking it again removes the highlight.  Then click the card in your hand that you want to play.  Clicking a hand card without choosing any table cards puts it on the table.  If your choice could mean more than one move, or none, a window explains the choices and asks you how to play the card.  Hint shows the move the computer would make for you and says it in words; when you accept it, that move is played as named, without a further question.  Builds and blocks carry a small tag above the pile that tells which card takes them.  If you put a card when the tableau has no free space, a message tells you that the card goes to your Capture Pile.

When the last card of a round has been played, the cards still on the table go to the player who took last.  If nobody has reached 21 points after all 52 cards, you are asked whether you want to continue with another round.

ii. Other functions

HOW TO PLAY (F1) shows this text.  Press OK or type any key to close it.

NEW GAME (F2) opens the New Game window, where you set the players' names, the card back, the delay, animation and sound, and start a new game.

GAME SETTINGS (F3) lets you change the card back, the delay, animation and sound during a game, without starting again.

HALL OF FAME (F4) lists the top fifteen players.  After every completed game the points of every player are added to that player's total, and the winner's points are subtracted from the loser's score.  Press the button over a column to sort the list by that column.  The CLEAR SCORES button erases all scores.

ABOUT (F5) shows the version of the program and who wrote it.

PLAYING WITH THE KEYBOARD.  Every move can also be made with keys.  The table has nine columns, and the keys 1 to 9 stand for them from left to right: 1 for the leftmost column, 9 for the rightmost, whether the columns beside it hold piles or not.  Each pile shows its key in a small box above it, and that key selects or deselects the pile, as a click on it does.  The keys U, I, O and P play the first, second, third and fourth card of your hand, as a click on that card does.  The ? key asks for a hint, as the Hint button does.  Tab moves from the Hint button to the button of the cards not yet seen and on to the table.  On the table the arrow keys move a dashed outline over the cards of your hand and the table piles (up to your hand, down to the piles), and the space bar or Enter does what a click on the outlined card does; the outline shows while you play with these keys and goes when you click.  Alt+F opens the File menu, and Shift+F10 or the Menu key opens the menu of the right mouse button.  A screen reader finds every card, pile and capture pile by name and hears each move as it is made.  In the Choose Action window and the questions, Tab moves between the buttons, Enter or the space bar presses the one that has the focus, and Escape cancels.


D. HINTS AND TIPS

1. Take as many points as you can now.  Your opponent can take your builds and blocks, so a point that you leave on the table may be gone on the next turn.

2. Use the remaining cards panel to see which cards have not been played yet.  For example, building to an ace is safe when no ace is left for your opponent.

3. The computer often chooses not to take, so that it does not leave you a table that one card can sweep.  Do the same: think twice before you leave a single card on the table.

4. Your opponent's builds and blocks show what it holds: nobody may build or block without a card that takes the pile.

5. The last player to take gets the cards left on the table at the end of the round.  This is not a sweep, but being the last to take can bring in valuable cards.
)";
