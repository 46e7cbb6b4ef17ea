#pragma once

class Prompter;

// The boxes of the login windows, the plain diary's and the encrypted one's.
class OwnerMessages
{
public:
    static void NoSuchUser(Prompter& prompter);
    // Said before the program ends, when the owner gave up.
    static void NotConfirmed(Prompter& prompter);
};
