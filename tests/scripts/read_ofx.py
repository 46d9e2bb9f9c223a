#!/usr/bin/python3
"""Reads an OFX file with ofxparse (a reader that is not libofx) and prints what it understood
as one JSON object: the account, its balances and every transaction, dates in UTC."""
import json
import sys

import ofxparse


def when(moment):
    return moment.strftime("%Y-%m-%d %H:%M:%S") if moment else None


def main(path):
    with open(path, "rb") as f:
        ofx = ofxparse.OfxParser.parse(f)
    account = ofx.account
    statement = account.statement
    print(json.dumps({
        "account_id": account.account_id,
        "routing_number": account.routing_number,
        "account_type": account.account_type,
        "currency": statement.currency,
        "balance": str(statement.balance) if hasattr(statement, "balance") else None,
        "available_balance": (str(statement.available_balance)
                              if hasattr(statement, "available_balance") else None),
        "start_date": when(statement.start_date),
        "end_date": when(statement.end_date),
        "transactions": [{
            "id": t.id,
            "type": t.type,
            "amount": str(t.amount),
            "payee": t.payee,
            "memo": t.memo,
            "date": when(t.date),
        } for t in statement.transactions],
    }, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
