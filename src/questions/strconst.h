#pragma once
// The fixed texts of the question pages.

namespace quarvel::mcq {

inline constexpr char DocHead[] =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\" xml:lang=\"en\">"
    "<head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />";
inline constexpr char QuestionWord[] = "Question ";
inline constexpr char AllCorrect[] = "All answers correct.";
inline constexpr char SomeWrong[] = "Some answers are wrong.";
inline constexpr char TryAgain[] = "To try the question again, click on the questions marked with X.";
inline constexpr char NotValidVantrel[] = "This is not a valid question file.";
inline constexpr char NotValidPrelox[] = "This is not a valid question file";
inline constexpr char DefaultText[] = "Enter the text for the question";

} // namespace quarvel::mcq
